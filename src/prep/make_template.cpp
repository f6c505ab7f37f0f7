// Build-time tool: creates the empty job database (the template copied for
// every new job) from the schema text.
//   tarvel_make_template SCHEMA.sql OUT.MDB

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

int fail(const std::string& text) {
    std::fprintf(stderr, "tarvel_make_template: %s\n", text.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return fail("usage: tarvel_make_template SCHEMA.sql OUT.MDB");
    const std::filesystem::path schemaPath = argv[1];
    const std::filesystem::path outPath = argv[2];

    std::ifstream schemaFile(schemaPath, std::ios::binary);
    if (!schemaFile) return fail("cannot read " + schemaPath.string());
    std::ostringstream schema;
    schema << schemaFile.rdbuf();

    // Built under a temporary name and renamed, so an interrupted build never
    // leaves a template with half its tables.
    std::error_code ec;
    if (outPath.has_parent_path()) std::filesystem::create_directories(outPath.parent_path(), ec);
    const std::filesystem::path temporary = outPath.string() + ".building";
    std::filesystem::remove(temporary, ec);

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(temporary.string().c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        const std::string text = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        return fail("cannot create " + temporary.string() + ": " + text);
    }
    const std::string script = "BEGIN;\n" + schema.str() + "\nCOMMIT;\n";
    char* error = nullptr;
    const int rc = sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error);
    const std::string errorText = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK) {
        std::filesystem::remove(temporary, ec);
        return fail("schema " + schemaPath.string() + ": " + errorText);
    }
    std::filesystem::rename(temporary, outPath, ec);
    if (ec) return fail("cannot write " + outPath.string() + ": " + ec.message());
    return 0;
}
