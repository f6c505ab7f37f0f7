#pragma once
// The steps of an analysis run, named by the driver and by the reading that
// refuses a file before any analysis.

namespace tarvel {

// The steps of a run in their order; a run that stops names the step.
enum class RunStep {
    OpenDataFile,
    SizeCheck,        // `PBC`
    ReadFrame,        // `INDATA`
    ReadLoads,        // load segments read and checked before the analysis
    Equations,        // `INITAK`
    Assembly,         // `KMAIN`
    Factorisation,    // `LI`
    DeadCase,         // `LOADFORC` "DLOAD"
    LiveCase,         // `LOADFORC` "LLOAD"
    WindCase,         // `LOADFORC` "WLOAD"
    LiveArrangement,  // `LIVEFORC`
    Dynamics,         // `DYNAMICS`
    Seismic,          // `SEISMIC`
    Design,           // `ASBALL`, `ASCALL`
    Report,           // `OUTF`
    ReinforcementFile,  // `OUTAS`
    WriteResults,     // the result files put in place together
};

}  // namespace tarvel
