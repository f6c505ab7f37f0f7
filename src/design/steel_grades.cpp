#include "design/steel_grades.h"

namespace tarvel {

namespace {
// Strength of grades 1..4, or `other` for any other number.
float gradeStrength(int grade, float other) {
    switch (grade) {
        case 1:
            return 210.0f;
        case 2:
            return 300.0f;
        case 3:
            return 360.0f;
        case 4:
            return 360.0f;
        default:
            return other;
    }
}
}  // namespace

float mainBarStrength(int grade) { return gradeStrength(grade, 300.0f); }

float stirrupStrength(int grade) { return gradeStrength(grade, 210.0f); }

void Gjjbxz(const AnalysisState& s, float& fy, float& fyv) {
    fy = mainBarStrength(s.mainGrade);
    fyv = stirrupStrength(s.stirrupGrade);
}

}  // namespace tarvel
