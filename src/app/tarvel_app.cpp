#include "tarvel_app.h"

#include <QApplication>
#include <QFont>

#include "FrmXTMM.h"
#include "MDITarvel.h"

namespace tarvel::app {

TarvelApp::TarvelApp(ProgramFolder folder, Host& host, AppServices services)
    : folder_(std::move(folder)), host_(host), services_(std::move(services)) {}

TarvelApp::~TarvelApp() { delete disclaimer_.data(); }

FrmXTMM* TarvelApp::disclaimer() const { return disclaimer_.data(); }

void TarvelApp::useProgramFonts() {
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSize(10);
    QApplication::setFont(font);
}

FrmXTMM* TarvelApp::Main() {
    disclaimer_ = new FrmXTMM(folder_);
    QObject::connect(disclaimer_, &FrmXTMM::accepted, [this] {
        if (!main_) main_ = std::make_unique<MDITarvel>(folder_, host_, services_, session_);
        main_->show();
    });
    QObject::connect(disclaimer_, &FrmXTMM::declined, [this] { services_.quit(); });
    disclaimer_->show();
    return disclaimer_;
}

}  // namespace tarvel::app
