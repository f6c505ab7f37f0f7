#pragma once
// The disclaimer window shown at start: "确认(&Y)" opens the main window,
// "放弃(&N)" ends the program.

#include <QPixmap>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;

namespace tarvel::app {

class ProgramFolder;

class FrmXTMM : public QWidget {
    Q_OBJECT
public:
    FrmXTMM(const ProgramFolder& folder, QWidget* parent = nullptr);

signals:
    void accepted();  // "确认(&Y)": the main window is to be shown
    void declined();  // "放弃(&N)": the program is to end

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap background_;
};

}  // namespace tarvel::app
