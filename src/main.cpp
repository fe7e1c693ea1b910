// Berlivo Paye: the payroll of a registered childminder, month by month.

#include "windows/mainwindow.h"
#include "widgets/application.h"
#include "widgets/comeforward.h"
#include "widgets/starttrace.h"
#include "windows/windowset.h"
#include "common/environment.h"
#include "common/errors.h"
#include "common/messages.h"
#include "datafolder/folderlayout.h"
#include "datafolder/startup.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    starttrace::mark("libraries loaded");
    QApplication app(argc, argv);
    starttrace::mark("QApplication");
    setUpApplication(app);
    starttrace::mark("setUpApplication");

    const QString folder = programFolder();
    // The user's own data folder is private to them; the portable folder
    // beside a build keeps the rights its owner chose.
    if (programFolderIsPerUser())
        startup::makePrivate(folder);
    else
        QDir().mkpath(folder);
    startup::FolderLock lock(folder);
    switch (lock.take()) {
    case startup::FolderLock::State::Taken: break;
    case startup::FolderLock::State::HeldByAnother:
        // Nothing of the folder is read or written: the other program owns
        // it, and its window comes forward in place of a second one.
        if (askToComeForward(folder))
            return 0;
        showError(texts::alreadyOpen(QDir::toNativeSeparators(folder)));
        return 1;
    case startup::FolderLock::State::Failed:
        showError(texts::cannotLockFolder(QDir::toNativeSeparators(folder)));
        return 1;
    }
    // Listening from the moment the folder is ours, so that a second start
    // during this one's own is answered too.
    ComeForwardListener listener(folder, bringProgramForward);
    starttrace::mark("folder locked, listening");

    // A change a stopped program left half done is finished before anything
    // is laid out; an installed program's first start lays out the user's
    // data folder as the build lays out the portable one.
    const startup::Report report = startup::prepare(folder, installedFilesFolder() + folder::ratesFile);
    for (const QString &text : report.errors)
        showError(text);
    if (!report.ready)
        return 1;
    for (const QString &text : report.messages)
        showMessage(text);
    starttrace::mark("folder prepared");
    createWindows();
    showAndActivate(win().Entree);
    starttrace::mark("main window shown");
    starttrace::endAfterFirstPaint(win().Entree);
    const int code = app.exec();

    destroyWindows();
    return code;
}
