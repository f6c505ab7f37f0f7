#pragma once
// `FrmRegularFrame`: the numbers of a regular frame (spans, storey heights,
// sections, concretes, loads) collected in one dialog. The job is filled by
// the core routine; the dialog only reads and checks what was typed.
//
// Lists of spans, heights and wind forces are numbers separated by commas or
// blanks; "3*6" stands for three times 6.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "prep/regular_frame.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tarvel {
class Host;
}

namespace tarvel::app {

class FrmRegularFrame : public QDialog {
    Q_OBJECT
public:
    // Numbers that make no frame are named in a message through `host`.
    explicit FrmRegularFrame(Host& host, QWidget* parent = nullptr);

    // The frame typed so far, or why it cannot be read (*problem set).
    std::optional<RegularFrame> frame(std::string* problem) const;

    // A list of numbers as typed; false when an entry is not a number.
    static bool parseList(const QString& text, std::vector<double>* values);

signals:
    // OK with numbers that make a frame.
    void frameChosen(const tarvel::RegularFrame& frame);

private:
    void accept() override;

    Host& host_;
    QLineEdit* spans_;
    QLineEdit* heights_;
    QLineEdit* columnB_;
    QLineEdit* columnH_;
    QLineEdit* beamB_;
    QLineEdit* beamH_;
    QComboBox* columnGrade_;
    QComboBox* beamGrade_;
    QCheckBox* fixedBases_;
    QCheckBox* rigidFloors_;
    QCheckBox* selfWeight_;
    QLineEdit* dead_;
    QLineEdit* live_;
    QLineEdit* wind_;
};

namespace regular_frame_dialog_text {
inline constexpr const char* kTitle = "规则框架";
inline constexpr const char* kBadNumber = "不是数字：";
inline constexpr const char* kReplace = "规则框架将替换本工程全部表格中的数据，是否继续？";
}  // namespace regular_frame_dialog_text

}  // namespace tarvel::app
