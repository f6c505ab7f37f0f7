// Import of a ".TVL" data file into a job database built from the schema,
// held in memory and given the rows of one small frame again before every
// input (so that a refusal has rows to keep). Rules: a refused
// file leaves every table as it was; an imported one leaves no number that is
// not finite, and the data file generated from the job reads into the same
// frame with the same load and seismic records; the same file imported again
// gives the same rows.

#include <sqlite3.h>

#include <cmath>
#include <cstdio>

#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_support.h"
#include "model_rules.h"
#include "prep/data_file_generation.h"
#include "prep/job_database.h"
#include "prep/job_import.h"
#include "prep/job_tables.h"
#include "common/list_input.h"

using namespace tarvel;

namespace {

// An empty job made from the schema text, in the kept folder beside the
// scratch folder that the data file goes into.
std::string newJob() {
    const std::string path = fuzz::ScratchFolder::instance().keptFile("JOB.mdb");
    std::ifstream schemaFile(TARVEL_FRM_SCHEMA, std::ios::binary);
    const std::string schema(std::istreambuf_iterator<char>(schemaFile), {});
    TARVEL_FUZZ_CHECK(!schema.empty());
    sqlite3* db = nullptr;
    TARVEL_FUZZ_CHECK(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) ==
                      SQLITE_OK);
    TARVEL_FUZZ_CHECK(sqlite3_exec(db, ("BEGIN;\n" + schema + "\nCOMMIT;").c_str(), nullptr, nullptr, nullptr) ==
                      SQLITE_OK);
    // A scratch job needs no durability; this keeps each import cheap.
    sqlite3_exec(db, "PRAGMA journal_mode=MEMORY;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return path;
}

// The job every input is imported into: a portal frame with loads and masses.
constexpr const char* kStartFrame =
    "WEIGHT\r\n1\r\n\r\nBAR-SEC\r\n.3 .6\r\n\r\nCONCRATE\r\n30\r\n\r\n"
    "POINT\r\n1 0 0 0 0 0\r\n2 0 0 0 6 0\r\n3 1 2 3 0 3.5\r\n4 1 4 5 6 3.5\r\n\r\n"
    "BEAM\r\n3 4 1 1\r\n\r\nCOLUMN\r\n1 3 1 1 0\r\n2 4 1 1 0\r\n\r\n"
    "DLOAD\r\n1 2 20 0 -1\r\n\r\nWLOAD\r\n2 2 1.5 0 -1\r\n\r\n"
    "SEISMIC\r\n2 8 .35 .5 .85 1 1\r\n2 3 100\r\n0 0\r\n\r\n";

// Every cell of every table, in entry order; keys left out.
std::string tableText(const JobDatabase& db) {
    std::string out;
    for (const JobTable& table : jobTables()) {
        out += std::string(table.name) + ":\n";
        for (const StoredRow& row : db.rows(table)) {
            for (const Cell& c : row.cells) {
                switch (c.kind) {
                    case Cell::Kind::Empty: out += "_"; break;
                    case Cell::Kind::Number:
                        TARVEL_FUZZ_CHECK(std::isfinite(c.number));
                        out += std::to_string(c.number);
                        break;
                    case Cell::Kind::Text: out += "'" + c.text + "'"; break;
                }
                out += ' ';
            }
            out += '\n';
        }
    }
    return out;
}

// The records of the load segments and of SEISMIC (the parameters, then each
// mass record with its count), one list per segment, empty when the segment
// is absent; false when a record does not read. The seismic parameters are
// read in the types of the job's table (KCLASS, K0 and NN whole), the rest
// as the run reads them.
using Records = std::vector<std::vector<float>>;
bool loadAndSeismicRecords(const std::string& path, std::vector<Records>& out) {
    fuzz::TranscriptHost host;
    DataFile file(host, path);
    if (!file.load()) return false;
    try {
        for (const char* segment : {"DLOAD", "LLOAD", "WLOAD", "SEISMIC"}) {
            Records& records = out.emplace_back();
            if (file.FINDSEG(segment, kSilent) != 0) {
                // A run cannot do without DLOAD: its absence is told apart
                // from a segment without records. (For the others the run
                // takes the two alike.)
                if (std::string_view(segment) == "DLOAD") records.emplace_back();
                continue;
            }
            ListReader& in = file.in();
            if (std::string_view(segment) == "SEISMIC") {
                std::vector<float>& parameters = records.emplace_back();
                for (const bool whole : {true, true, false, false, false, true, false}) {
                    parameters.push_back(whole ? static_cast<float>(in.readInteger()) : in.readSingle());
                }
                for (int count = in.readInteger(); count > 0; count = in.readInteger()) {
                    std::vector<float>& mass = records.emplace_back(1, static_cast<float>(count));
                    for (int i = 0; i < count; ++i) mass.push_back(in.readSingle());
                }
                continue;
            }
            for (int member = in.readInteger(); member != 0; member = in.readInteger()) {
                std::vector<float>& load = records.emplace_back(1, static_cast<float>(member));
                load.push_back(static_cast<float>(in.readInteger()));
                for (int i = 0; i < 3; ++i) load.push_back(in.readSingle());
            }
        }
    } catch (const ListInputError&) {
        return false;
    }
    return true;
}

// Equal up to the seven significant digits the generated file keeps. A
// source without DLOAD may give a generated file with an empty one.
bool sameRecords(const std::vector<Records>& a, const std::vector<Records>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t s = 0; s < a.size(); ++s) {
        const bool sourceLacksSegment = a[s].size() == 1 && a[s][0].empty();
        if (sourceLacksSegment) continue;
        if (a[s].size() != b[s].size()) return false;
        for (std::size_t r = 0; r < a[s].size(); ++r) {
            if (a[s][r].size() != b[s][r].size()) return false;
            for (std::size_t i = 0; i < a[s][r].size(); ++i) {
                const float x = a[s][r][i];
                const float y = b[s][r][i];
                if (x != y && !(std::fabs(x - y) <= 2e-6f * std::fmax(std::fabs(x), std::fabs(y)))) {
                    std::fprintf(stderr, "record %zu of segment %zu differs: %.9g and %.9g\n", r, s,
                                 static_cast<double>(x), static_cast<double>(y));
                    return false;
                }
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string templatePath = newJob();
    auto openJob = [] {
        JobDatabase d;
        std::string error;
        TARVEL_FUZZ_CHECK(d.openInMemory(templatePath, &error));
        return d;
    };
    static const JobDatabase startJob = [&openJob] {
        JobDatabase d = openJob();
        fuzz::TranscriptHost host;
        const std::string frame = fuzz::ScratchFolder::instance().keptFile("START.TVL");
        std::ofstream(frame, std::ios::binary) << kStartFrame;
        TARVEL_FUZZ_CHECK(importDataFile(frame, d, host) == PrepOutcome::Done);
        return d;
    }();
    static const std::string startTables = tableText(startJob);
    static JobDatabase db = openJob();
    db.copyFrom(startJob);
    const fuzz::ScratchFolder& folder = fuzz::ScratchFolder::instance();
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = fuzz::freshInput("FUZZ.TVL", bytes);

    fuzz::TranscriptHost host;
    const PrepOutcome outcome = importDataFile(path, db, host);
    const std::string after = tableText(db);
    if (outcome == PrepOutcome::Done) {
        if (fuzz::checkedTwice(bytes)) {
            fuzz::TranscriptHost again;
            TARVEL_FUZZ_CHECK(importDataFile(path, db, again) == PrepOutcome::Done);
            TARVEL_FUZZ_CHECK(tableText(db) == after);
        }

        fuzz::TranscriptHost generation;
        const GeneratedDataFile generated = buildDataFileText(db, generation);
        if (!generated.ok) std::fprintf(stderr, "not generated: %s\n", generated.refusal.c_str());
        TARVEL_FUZZ_CHECK(generated.ok);
        const std::string generatedPath = folder.write("GEN.TVL", generated.text);
        const auto source = fuzz::readModel(path);
        TARVEL_FUZZ_CHECK(source != nullptr);
        // Without nodes, sections or concretes the file describes no frame a
        // run could take; generation leaves out the segments of those empty
        // tables as it does for every empty table but BEAM, COLUMN and DLOAD,
        // so its file is not expected to read back.
        const bool describesAFrame = source->NJ > 0 && source->NSEC > 0 && source->NCON > 0;
        const auto target = fuzz::readModel(generatedPath);
        if (describesAFrame) {
            TARVEL_FUZZ_CHECK(target != nullptr);
            TARVEL_FUZZ_CHECK(fuzz::sameModel(*source, *target));
        }
        std::vector<Records> sourceRecords;
        if (describesAFrame && loadAndSeismicRecords(path, sourceRecords)) {
            std::vector<Records> targetRecords;
            TARVEL_FUZZ_CHECK(loadAndSeismicRecords(generatedPath, targetRecords));
            TARVEL_FUZZ_CHECK(sameRecords(sourceRecords, targetRecords));
        }
        std::remove(generatedPath.c_str());
    } else {
        TARVEL_FUZZ_CHECK(outcome == PrepOutcome::Refused);
        TARVEL_FUZZ_CHECK(after == startTables);
    }
    fuzz::checkOnlyInputLeft(bytes);
    return 0;
}
