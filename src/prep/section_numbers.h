#pragma once
// Sections and concrete grades are numbered by the position of their row in
// BARSEC and CONCRATE. Deleting a row there moves every later row up by one,
// so a member that named section 5 now names what was section 6. After such
// a deletion the user is shown which members now refer to a different row
// and may have their numbers renumbered to follow the rows.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/host.h"
#include "prep/job_database.h"

namespace tarvel {

// A member row whose section or grade number no longer names the row it named.
struct MovedReference {
    const JobTable* table = nullptr;  // BEAM or COLUMN
    std::int64_t key = 0;             // its rowid
    int member = 0;                   // 1-based row position in its table
    int number = 0;                   // the number it holds
};

struct ReferencesAfterDeletion {
    std::vector<MovedReference> moved;     // named a later row: one less follows it
    std::vector<MovedReference> orphaned;  // named the deleted row itself
};

// The references of BEAM and COLUMN to `numbered` (BARSEC or CONCRATE) after
// its row at `deletedPosition` (1-based) was deleted.
ReferencesAfterDeletion referencesAfterDeletion(const JobDatabase& db, const JobTable& numbered,
                                                int deletedPosition);

// Tells which members are affected and asks whether to renumber; Yes lowers
// every moved reference by one, No leaves them. Nothing is asked when no
// member is affected. True when references were renumbered.
bool offerRenumbering(JobDatabase& db, const JobTable& numbered, int deletedPosition, Host& host);

// After a row was put in at `insertedPosition` (1-based): the members that
// named that position or a later one, each now one row short of the row it
// named.
std::vector<MovedReference> referencesAfterInsertion(const JobDatabase& db, const JobTable& numbered,
                                                     int insertedPosition);

// As offerRenumbering, after an insertion: Yes raises every moved reference
// by one. True when references were renumbered.
bool offerRenumberingAfterInsertion(JobDatabase& db, const JobTable& numbered, int insertedPosition,
                                    Host& host);

namespace renumber_text {
inline constexpr const char* kSectionTitle = "截面编号";
inline constexpr const char* kGradeTitle = "混凝土强度等级编号";
inline constexpr const char* kMoved = "删除第 %d 行后，以下杆件引用的编号已指向另一行：";
inline constexpr const char* kOrphaned = "以下杆件引用的正是被删除的第 %d 行，请另行修改：";
inline constexpr const char* kQuestion = "是否将上述杆件的编号减 1，使其仍指向原来的行？";
inline constexpr const char* kMovedByInsertion = "在第 %d 行前插入一行后，以下杆件引用的编号已指向另一行：";
inline constexpr const char* kQuestionInsertion = "是否将上述杆件的编号加 1，使其仍指向原来的行？";
}  // namespace renumber_text

}  // namespace tarvel
