#pragma once
// `Sub Main`: the disclaimer window first; accepting it opens the main
// window, declining it ends the program. Holds what the windows share.

#include <QPointer>
#include <memory>

#include "app_services.h"
#include "program_folder.h"

namespace tarvel {
class Host;
}

namespace tarvel::app {

class FrmXTMM;
class MDITarvel;

class TarvelApp {
public:
    TarvelApp(ProgramFolder folder, Host& host, AppServices services);
    ~TarvelApp();

    // The program's fonts: WenQuanYi Micro Hei, which carries the Chinese
    // glyphs of every caption, for the whole application.
    static void useProgramFonts();

    // Shows the disclaimer window (not modal) and returns.
    FrmXTMM* Main();

    FrmXTMM* disclaimer() const;
    MDITarvel* mainWindow() const { return main_.get(); }
    Session& session() { return session_; }
    const ProgramFolder& folder() const { return folder_; }

private:
    ProgramFolder folder_;
    Host& host_;
    AppServices services_;
    Session session_;
    QPointer<FrmXTMM> disclaimer_;
    std::unique_ptr<MDITarvel> main_;
};

}  // namespace tarvel::app
