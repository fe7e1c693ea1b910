// Berlivo Paye: the payroll of a registered childminder, month by month.

#include "windows/mainwindow.h"
#include "widgets/application.h"
#include "windows/windowset.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    createWindows();

    TEntree *main = win().Entree;
    showAndActivate(main);
    const int code = app.exec();

    destroyWindows();
    return code;
}
