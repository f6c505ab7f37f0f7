#include "prep/section_numbers.h"

#include <cmath>
#include <cstdio>

namespace tarvel {

namespace {

std::string_view referenceColumn(const JobTable& numbered) {
    return numbered.name == job_table::kBarSec ? std::string_view("KSECi") : std::string_view("KCi");
}

std::string withNumber(const char* pattern, int n) {
    char buffer[200];
    std::snprintf(buffer, sizeof buffer, pattern, n);
    return buffer;
}

std::string describe(const std::vector<MovedReference>& refs, std::string_view column) {
    std::string text;
    for (const MovedReference& r : refs) {
        text += "\n" + std::string(r.table->name) + " 第 " + std::to_string(r.member) + " 行：" +
                std::string(column) + "=" + std::to_string(r.number);
    }
    return text;
}

}  // namespace

ReferencesAfterDeletion referencesAfterDeletion(const JobDatabase& db, const JobTable& numbered,
                                                int deletedPosition) {
    ReferencesAfterDeletion result;
    const std::string_view column = referenceColumn(numbered);
    for (std::string_view name : {job_table::kBeam, job_table::kColumn}) {
        const JobTable& members = jobTable(name);
        const auto index = static_cast<std::size_t>(members.columnIndex(column));
        int position = 0;
        for (const StoredRow& row : db.rows(members)) {
            ++position;
            const Cell& cell = row.cells[index];
            if (cell.kind != Cell::Kind::Number || cell.number != std::floor(cell.number)) continue;
            const int number = static_cast<int>(cell.number);
            const MovedReference ref{&members, row.key, position, number};
            if (number > deletedPosition) result.moved.push_back(ref);
            else if (number == deletedPosition) result.orphaned.push_back(ref);
        }
    }
    return result;
}

bool offerRenumbering(JobDatabase& db, const JobTable& numbered, int deletedPosition, Host& host) {
    const ReferencesAfterDeletion refs = referencesAfterDeletion(db, numbered, deletedPosition);
    const std::string_view column = referenceColumn(numbered);
    const char* title = numbered.name == job_table::kBarSec ? renumber_text::kSectionTitle
                                                            : renumber_text::kGradeTitle;
    std::string orphaned;
    if (!refs.orphaned.empty()) {
        orphaned = withNumber(renumber_text::kOrphaned, deletedPosition) +
                   describe(refs.orphaned, column);
    }
    if (refs.moved.empty()) {
        if (!orphaned.empty()) host.message(orphaned, title, Icon::Exclamation);
        return false;
    }
    std::string question = withNumber(renumber_text::kMoved, deletedPosition) +
                           describe(refs.moved, column) + "\n";
    if (!orphaned.empty()) question += "\n" + orphaned + "\n";
    question += std::string("\n") + renumber_text::kQuestion;
    if (host.ask(question, title, Buttons::YesNo, Icon::Question) != Answer::Yes) return false;
    JobDatabase::Transaction transaction(db);
    for (const MovedReference& r : refs.moved) {
        db.updateCell(*r.table, r.key, column, Cell::of(r.number - 1));
    }
    transaction.commit();
    return true;
}

std::vector<MovedReference> referencesAfterInsertion(const JobDatabase& db, const JobTable& numbered,
                                                     int insertedPosition) {
    // A reference to the inserted position or later named what is now one row on.
    return referencesAfterDeletion(db, numbered, insertedPosition - 1).moved;
}

bool offerRenumberingAfterInsertion(JobDatabase& db, const JobTable& numbered, int insertedPosition,
                                    Host& host) {
    const std::vector<MovedReference> moved = referencesAfterInsertion(db, numbered, insertedPosition);
    if (moved.empty()) return false;
    const std::string_view column = referenceColumn(numbered);
    const char* title = numbered.name == job_table::kBarSec ? renumber_text::kSectionTitle
                                                            : renumber_text::kGradeTitle;
    const std::string question = withNumber(renumber_text::kMovedByInsertion, insertedPosition) +
                                 describe(moved, column) + "\n\n" + renumber_text::kQuestionInsertion;
    if (host.ask(question, title, Buttons::YesNo, Icon::Question) != Answer::Yes) return false;
    JobDatabase::Transaction transaction(db);
    for (const MovedReference& r : moved) {
        db.updateCell(*r.table, r.key, column, Cell::of(r.number + 1));
    }
    transaction.commit();
    return true;
}

}  // namespace tarvel
