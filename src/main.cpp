// Berlivo Paye: the payroll of a registered childminder, month by month.

#include "windows/mainwindow.h"
#include "widgets/application.h"
#include "windows/windowset.h"
#include "common/environment.h"
#include "common/messages.h"
#include "datafolder/folderlayout.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    // An installed program keeps its files in the user's data folder: the
    // first start lays it out as the build lays out the portable one.
    guarded([] { folder::layOut(programFolder(), installedFilesFolder() + folder::ratesFile); });
    createWindows();

    TEntree *main = win().Entree;
    showAndActivate(main);
    const int code = app.exec();

    destroyWindows();
    return code;
}
