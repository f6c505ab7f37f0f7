#include "FrmRegularFrame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <cmath>

#include "common/host.h"
#include "common/list_input.h"
#include "desktop_host.h"

namespace tarvel::app {

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

QLineEdit* box(const char* name, const char* text, QWidget* parent) {
    auto* e = new QLineEdit(u(text), parent);
    e->setObjectName(u(name));
    return e;
}

QComboBox* grades(const char* name, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(u(name));
    for (int g = 15; g <= 80; g += 5) c->addItem(QStringLiteral("C%1").arg(g), g);
    c->setCurrentIndex(c->findData(30));
    return c;
}

QCheckBox* tick(const char* name, const char* caption, bool on, QWidget* parent) {
    auto* c = new QCheckBox(u(caption), parent);
    c->setObjectName(u(name));
    c->setChecked(on);
    return c;
}

bool parseNumberText(const QString& text, double* value) {
    double v = 0.0;
    if (!parseNumber(us(text.trimmed()), v) || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

}  // namespace

bool FrmRegularFrame::parseList(const QString& text, std::vector<double>* values) {
    values->clear();
    static const QRegularExpression separators(QStringLiteral("[,，\\s]+"));
    for (const QString& item : text.split(separators, Qt::SkipEmptyParts)) {
        const qsizetype star = item.indexOf(QLatin1Char('*'));
        double count = 1.0, value = 0.0;
        if (star >= 0) {
            if (!parseNumberText(item.left(star), &count) || count < 1 || count > 1000 ||
                count != std::floor(count)) {
                return false;
            }
        }
        if (!parseNumberText(star >= 0 ? item.mid(star + 1) : item, &value)) return false;
        values->insert(values->end(), static_cast<std::size_t>(count), value);
    }
    return true;
}

FrmRegularFrame::FrmRegularFrame(Host& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("FrmRegularFrame"));
    setWindowTitle(u(regular_frame_dialog_text::kTitle));
    auto* layout = new QVBoxLayout(this);

    auto* geometry = new QGroupBox(u("轴网"), this);
    auto* g = new QFormLayout(geometry);
    spans_ = box("TxtSpans", "6, 2.4, 6", geometry);
    heights_ = box("TxtHeights", "4.2, 3*3.3", geometry);
    g->addRow(u("各跨跨度(M)："), spans_);
    g->addRow(u("各层层高(M)，自下而上："), heights_);
    auto* note = new QLabel(u("数值以逗号或空格分隔，\"3*3.3\" 表示三个 3.3。"), geometry);
    g->addRow(note);
    layout->addWidget(geometry);

    auto* members = new QGroupBox(u("截面与混凝土"), this);
    auto* m = new QFormLayout(members);
    columnB_ = box("TxtColumnB", "0.5", members);
    columnH_ = box("TxtColumnH", "0.5", members);
    beamB_ = box("TxtBeamB", "0.25", members);
    beamH_ = box("TxtBeamH", "0.6", members);
    columnGrade_ = grades("CboColumnGrade", members);
    beamGrade_ = grades("CboBeamGrade", members);
    auto pair = [members](QLineEdit* b, QLineEdit* h, QComboBox* grade) {
        auto* row = new QHBoxLayout;
        row->addWidget(b);
        row->addWidget(new QLabel(QStringLiteral("×"), members));
        row->addWidget(h);
        row->addSpacing(12);
        row->addWidget(grade);
        return row;
    };
    m->addRow(u("柱截面 b×h(M)，混凝土："), pair(columnB_, columnH_, columnGrade_));
    m->addRow(u("梁截面 b×h(M)，混凝土："), pair(beamB_, beamH_, beamGrade_));
    layout->addWidget(members);

    auto* options = new QGroupBox(u("支座与楼层"), this);
    auto* o = new QHBoxLayout(options);
    fixedBases_ = tick("ChkFixed", "柱脚固接", true, options);
    rigidFloors_ = tick("ChkRigid", "楼层水平刚性", true, options);
    selfWeight_ = tick("ChkWeight", "计算构件自重", true, options);
    o->addWidget(fixedBases_);
    o->addWidget(rigidFloors_);
    o->addWidget(selfWeight_);
    layout->addWidget(options);

    auto* loads = new QGroupBox(u("荷载（可不填）"), this);
    auto* l = new QFormLayout(loads);
    dead_ = box("TxtDead", "", loads);
    live_ = box("TxtLive", "", loads);
    wind_ = box("TxtWind", "", loads);
    l->addRow(u("梁上均布恒载(KN/M)："), dead_);
    l->addRow(u("梁上均布活载(KN/M)："), live_);
    l->addRow(u("各层风荷载(KN)，自下而上，向右为正："), wind_);
    layout->addWidget(loads);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(u("生成(&G)"));
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("CmdOk"));
    buttons->button(QDialogButtonBox::Cancel)->setText(u("取消(&C)"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FrmRegularFrame::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

std::optional<RegularFrame> FrmRegularFrame::frame(std::string* problem) const {
    RegularFrame f;
    auto list = [&](QLineEdit* e, std::vector<double>* values) {
        if (parseList(e->text(), values)) return true;
        *problem = regular_frame_dialog_text::kBadNumber + us(e->text());
        return false;
    };
    auto one = [&](QLineEdit* e, double* value, bool emptyIsZero) {
        if (emptyIsZero && e->text().trimmed().isEmpty()) {
            *value = 0.0;
            return true;
        }
        if (parseNumberText(e->text(), value)) return true;
        *problem = regular_frame_dialog_text::kBadNumber + us(e->text());
        return false;
    };
    if (!list(spans_, &f.spans) || !list(heights_, &f.heights) || !one(columnB_, &f.columnB, false) ||
        !one(columnH_, &f.columnH, false) || !one(beamB_, &f.beamB, false) ||
        !one(beamH_, &f.beamH, false) || !one(dead_, &f.deadLoad, true) ||
        !one(live_, &f.liveLoad, true) || !list(wind_, &f.windForces)) {
        return std::nullopt;
    }
    f.columnGrade = columnGrade_->currentData().toInt();
    f.beamGrade = beamGrade_->currentData().toInt();
    f.fixedBases = fixedBases_->isChecked();
    f.rigidFloors = rigidFloors_->isChecked();
    f.selfWeight = selfWeight_->isChecked();
    *problem = regularFrameProblem(f);
    if (!problem->empty()) return std::nullopt;
    return f;
}

void FrmRegularFrame::accept() {
    std::string problem;
    const std::optional<RegularFrame> f = frame(&problem);
    if (!f) {
        host_.message(problem, regular_frame_dialog_text::kTitle, Icon::Information);
        return;
    }
    emit frameChosen(*f);
    QDialog::accept();
}

}  // namespace tarvel::app
