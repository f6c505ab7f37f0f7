// Import of a ".TVL" data file into a job database built from the schema in
// a scratch folder. Rules: a refused file leaves every table as it was; an
// imported one leaves no number that is not finite, and the data file
// generated from the job reads into the same frame; the same file imported
// again gives the same rows.

#include <sqlite3.h>

#include <cmath>
#include <cstdio>

#include <fstream>
#include <iterator>

#include "fuzz_support.h"
#include "model_rules.h"
#include "prep/data_file_generation.h"
#include "prep/job_database.h"
#include "prep/job_import.h"
#include "prep/job_tables.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static JobDatabase db = [] {
        JobDatabase d;
        std::string error;
        TARVEL_FUZZ_CHECK(d.open(newJob(), &error));
        return d;
    }();
    const fuzz::ScratchFolder& folder = fuzz::ScratchFolder::instance();
    folder.clear();
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string path = folder.write("FUZZ.TVL", bytes);

    const std::string before = tableText(db);
    fuzz::TranscriptHost host;
    const PrepOutcome outcome = importDataFile(path, db, host);
    const std::string after = tableText(db);
    if (outcome == PrepOutcome::Done) {
        fuzz::TranscriptHost again;
        TARVEL_FUZZ_CHECK(importDataFile(path, db, again) == PrepOutcome::Done);
        TARVEL_FUZZ_CHECK(tableText(db) == after);

        fuzz::TranscriptHost generation;
        const GeneratedDataFile generated = buildDataFileText(db, generation);
        if (!generated.ok) std::fprintf(stderr, "not generated: %s\n", generated.refusal.c_str());
        TARVEL_FUZZ_CHECK(generated.ok);
        const std::string generatedPath = folder.write("GEN.TVL", generated.text);
        const auto source = fuzz::readModel(path);
        const auto target = fuzz::readModel(generatedPath);
        TARVEL_FUZZ_CHECK(source != nullptr);
        if (source->NB == 0) {
            // An empty table leaves its segment out of the generated file (only
            // COLUMN keeps its header), and a run needs the BEAM segment: a
            // frame without beams does not read back, and validation says so.
            TARVEL_FUZZ_CHECK(target == nullptr);
        } else {
            TARVEL_FUZZ_CHECK(target != nullptr);
            TARVEL_FUZZ_CHECK(fuzz::sameModel(*source, *target));
        }
        std::remove(generatedPath.c_str());
    } else {
        TARVEL_FUZZ_CHECK(outcome == PrepOutcome::Refused);
        TARVEL_FUZZ_CHECK(after == before);
    }
    const auto files = folder.contents();
    TARVEL_FUZZ_CHECK(files.size() == 1 && files.begin()->second == bytes);
    return 0;
}
