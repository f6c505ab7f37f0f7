#pragma once
// The About box: the program's title, its edition, two pictures, and the
// system-information command.

#include <QDialog>

namespace tarvel {
class Host;
}

namespace tarvel::app {

class ProgramFolder;
struct AppServices;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(const ProgramFolder& folder, Host& host, const AppServices& services,
             QWidget* parent = nullptr);

    // "系统信息(&S)...": a system-information program found on this system, else the message.
    void StartSysInfo();

    // The programs looked for, in order.
    static QStringList systemInformationPrograms();

signals:
    void helpRequested(const QString& page);

private:
    Host& host_;
    const AppServices& services_;
};

}  // namespace tarvel::app
