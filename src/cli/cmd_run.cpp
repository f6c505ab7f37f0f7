// tarvel-cli run: the analysis run of the frame-analysis window's command
// "结构分析(&R)", with the run log on stdout and the messages on stderr.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <new>
#include <memory>
#include <string>

#include "analysis/analysis_state.h"
#include "analysis/run_texts.h"
#include "cli/commands.h"
#include "cli/console_host.h"
#include "cli/json_writer.h"
#include "report/report_common.h"
#include "run/run_driver.h"

namespace tarvel::cli {

namespace {

constexpr const char* kHelp =
    "usage: tarvel-cli run FILE.TVL [--main-grade 1..4] [--stirrup-grade 1..4]\n"
    "                     [--json OUT.json] [--timestamp \"yyyy - mm - dd   hh:mm:ss\"]\n"
    "\n"
    "Analyses the frame data file as the analysis window's command runs it: size\n"
    "pre-check, reading, stiffness assembly and factorisation, the dead, live and\n"
    "wind load cases, the unfavourable live-load arrangement, periods and mode\n"
    "shapes, the seismic action, the design of every beam and column, and the\n"
    "report. Written beside the data file: DLOAD.fkn, LLOAD.fkn, WLOAD.fkn,\n"
    "TARVEL1.wri, TARVEL2.wri and AS.ags, all six together at the end of the run:\n"
    "a run that stops changes none of them. The run log goes to stdout; messages,\n"
    "warnings (values the run goes on with but the user may not expect, once per\n"
    "record) and the notice of a stop go to stderr.\n"
    "\n"
    "  --main-grade N     steel grade of the main bars, 1..4 (default 2)\n"
    "  --stirrup-grade N  steel grade of the stirrups, 1..4 (default 1)\n"
    "  --json OUT.json    written with the result files, as one of the set: every\n"
    "                     model and result table by its name (XY, JD, SEC, MEM, ...,\n"
    "                     PLOAD, BM, BV, CF, BML, BVL, UD, LCF, ...) with NDOF and\n"
    "                     MBAND, indexed from 0 like the\n"
    "                     tables (slot 0 unused); values read back to the exact\n"
    "                     single-precision values computed; the seismic and design\n"
    "                     tables (PERIOD, PHI, WG, BAS, CAS, ...) are included\n"
    "  --timestamp TEXT   time stamp printed in the report instead of the local time,\n"
    "                     for reproducible files, e.g. \"2026 - 12 - 08   10:00:00\"\n"
    "\n"
    "Exit status: 0 the run ended with \"结构分析程序正常结束！\" (warnings may have\n"
    "               been printed);\n"
    "             1 the run stopped on an error or refused the data file; no result\n"
    "               file was changed;\n"
    "             2 wrong usage;\n"
    "             3 the eigen-solution failed: the result files were written, but\n"
    "               without the seismic action.\n";

// A grade 1..4; 0 when the text is anything else.
int parseGrade(const std::string& text) {
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return text[0] - '0';
    return 0;
}

void printResultJson(const AnalysisState& s, bool complete, JsonWriter& j) {
    const FrameModel& m = s.model;
    j.beginObject();
    j.key("dataFile").value(s.dataPath);
    j.key("complete").value(complete);
    j.key("mainGrade").value(s.mainGrade).key("stirrupGrade").value(s.stirrupGrade);
    j.key("NJ").value(m.NJ).key("NB").value(m.NB).key("NC").value(m.NC).key("NE").value(m.NE);
    j.key("NSEC").value(m.NSEC).key("NCON").value(m.NCON).key("KW").value(m.KW);
    j.key("NLEV").value(m.NLEV).key("ALFI").value(m.ALFI).key("ALFF").value(m.ALFF);
    j.key("FT").value(m.FT);
    j.key("NDOF").value(s.NDOF).key("MBAND").value(s.MBAND);
    j.key("XY").table(m.XY);
    j.key("JD").table(m.JD);
    j.key("SEC").table(m.SEC);
    j.key("GRADE").table(m.GRADE);
    j.key("FC").table(m.FC);
    j.key("FCM").table(m.FCM);
    j.key("EC").table(m.EC);
    j.key("MEM").table(m.MEM);
    j.key("ALFC").table(m.ALFC);
    j.key("LEVN").table(m.LEVN);
    j.key("LEVY").table(m.LEVY);
    j.key("LCF").table(s.LCF);
    j.key("PLOAD").table(s.PLOAD);
    j.key("BM").table(s.BM);
    j.key("BV").table(s.BV);
    j.key("CF").table(s.CF);
    j.key("BML").table(s.BML);
    j.key("BVL").table(s.BVL);
    j.key("UD").table(s.UD);
    j.key("RMN").table(s.RMN);
    j.key("RVM").table(s.RVM);
    j.key("RVN").table(s.RVN);

    const DynamicResults& d = s.dyn;
    auto parameters = [&j](const SeismicParameters& p) {
        j.beginObject();
        j.key("KCLASS").value(p.KCLASS).key("K0").value(p.K0).key("TG").value(p.TG);
        j.key("ALF1").value(p.ALF1).key("ALF2").value(p.ALF2).key("NN").value(p.NN);
        j.key("ADJUST").value(p.ADJUST);
        j.endObject();
    };
    j.key("seismic");
    parameters(d.par);
    j.key("seismicRaw");
    parameters(d.raw);
    j.key("NMASS").value(d.NMASS).key("IERR").value(d.IERR);
    j.key("MNODE").table(d.MNODE);
    j.key("WD").table(d.WD);
    j.key("WL").table(d.WL);
    j.key("WA").table(d.WA);
    j.key("WG").table(d.WG);
    j.key("PERIOD").table(d.PERIOD);
    // PHI(i, j) for i, j = 0..NMASS: the full 81 x 81 table is mostly empty.
    j.key("PHI").beginArray();
    for (int i = 0; i <= d.NMASS; ++i) j.array(&d.PHI(i, 0), d.NMASS + 1);
    j.endArray();
    j.key("XIMAXE").value(d.con.XIMAXE).key("ETAVB").value(d.con.ETAVB);
    j.key("ETAVC").value(d.con.ETAVC).key("ETAMC").value(d.con.ETAMC);
    j.key("ALFMAX").value(d.con.ALFMAX);

    const DesignResults& r = s.design;
    j.key("BAS").table(r.BAS);
    j.key("BASC").table(r.BASC);
    j.key("BASV").table(r.BASV);
    j.key("BASVC").table(r.BASVC);
    j.key("CAS").table(r.CAS);
    j.key("CASC").table(r.CASC);
    j.key("CAS0").table(r.CAS0);
    j.key("CRHO").table(r.CRHO);
    j.key("CRHO0").table(r.CRHO0);
    j.key("CNR").table(r.CNR);
    j.key("CASV").table(r.CASV);
    j.key("CASVC").table(r.CASVC);
    j.endObject();
    j.endLine();
}

// The summary of a run, written to its file as it is formed.
void streamResultJson(const AnalysisState& s, bool complete, TextSink& out) {
    JsonWriter j(&out);
    printResultJson(s, complete, j);
    j.flush();
}

struct RunOptions : CommonOptions {
    RunRequest request;
    std::string jsonPath;
};

int parseRun(const Args& args, const Usage& usage, RunOptions& o) {
    RunRequest& request = o.request;
    std::string& jsonPath = o.jsonPath;
    for (std::size_t a = 0; a < args.size(); ++a) {
        const std::string& arg = args[a];
        const bool takesValue = arg == "--main-grade" || arg == "--stirrup-grade" ||
                                arg == "--json" || arg == "--timestamp";
        if (takesValue) {
            if (a + 1 >= args.size()) return usage.wrong("option '" + arg + "' needs a value");
            const std::string& value = args[++a];
            if (arg == "--json") {
                jsonPath = value;
                continue;
            }
            if (arg == "--timestamp") {
                if (!isTimeStamp(value)) {
                    return usage.wrong("time stamp '" + value + "' is not \"yyyy - mm - dd   hh:mm:ss\"");
                }
                request.timeStamp = value;
                continue;
            }
            const int grade = parseGrade(value);
            if (grade == 0) return usage.wrong("grade '" + value + "' is not one of 1, 2, 3, 4");
            (arg == "--main-grade" ? request.mainGrade : request.stirrupGrade) = grade;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage.wrong("unknown option '" + arg + "'");
        } else if (request.dataFile.empty()) {
            request.dataFile = arg;
        } else {
            return usage.wrong("more than one data file given");
        }
    }
    if (request.dataFile.empty()) return usage.wrong("no data file given");
    return -1;
}

// Room for an object of `bytes` whose pages the kernel maps in one call
// rather than one fault at a time as the constructor first writes them: the
// analysis state is a few hundred kilobytes and every page of it is written.
// Where the call is not known the pages come one by one as before.
void* populatedStorage(std::size_t bytes) {
    void* room = ::operator new(bytes);
#if defined(MADV_POPULATE_WRITE)
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(room) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(room) + bytes) / page * page;
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#endif
    return room;
}

}  // namespace

int runAnalysis(const RunRequest& request, const std::string& jsonPath, Host& host) {
    // Every table is cleared when the run starts (Frame5 resets the state), so the
    // object is not zeroed once more here.
    auto state = std::unique_ptr<AnalysisState>(new (populatedStorage(sizeof(AnalysisState))) AnalysisState);
    // The summary is one file of the run's result set: written with them, or
    // none of them is.
    RunRequest withSummary = request;
    if (!jsonPath.empty()) {
        withSummary.summaryPath = jsonPath;
        withSummary.summary = streamResultJson;
    }
    const RunResult result = Frame5(withSummary, host, *state);
    for (const std::string& warning : result.warnings) std::fprintf(stderr, "%s\n", warning.c_str());
    if (result.outcome == RunOutcome::Stopped) {
        std::fprintf(stderr, "%s\n", run_text::kNothingChanged);
        return kRejected;
    }
    return result.outcome == RunOutcome::FinishedWithoutSeismic ? kWithoutSeismic : kOk;
}

int cmdRun(const Args& args) {
    return runCommand<RunOptions>(args, {"run", kHelp}, parseRun,
                                  [](const RunOptions& o, Host& host) {
                                      return runAnalysis(o.request, o.jsonPath, host);
                                  });
}

}  // namespace tarvel::cli
