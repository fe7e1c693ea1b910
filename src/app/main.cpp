// Berlivo Paye: the payroll of a registered childminder, month by month.

#include "Berlivo.h"
#include "application.h"
#include "windowset.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpApplication(app);
    createWindows();

    TEntree *main = win().Entree;
    main->move(main->screen()->availableGeometry().center() - main->rect().center());
    showAndActivate(main);
    const int code = app.exec();

    destroyWindows();
    return code;
}
