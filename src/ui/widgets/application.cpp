#include "widgets/application.h"

#include "widgets/appicons.h"
#include "common/messages.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>

void installFontSubstitutes()
{
    QFont::insertSubstitution(QStringLiteral("Monotype Corsiva"), QStringLiteral("Z003"));
    QFont::insertSubstitution(QStringLiteral("Papyrus"), QStringLiteral("Z003"));
    QFont::insertSubstitution(QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
}

void setUpApplication(QApplication &app)
{
    app.setApplicationName(QStringLiteral("Berlivo"));
    app.setApplicationDisplayName(QStringLiteral("Berlivo"));
    app.setWindowIcon(QIcon(programPixmap(64)));

    // Qt's standard buttons and dialogs in French ("Annuler", ...).
    auto *qtFrench = new QTranslator(&app);
    if (qtFrench->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(qtFrench);
    // Day and month names of calendars and date pickers in French; numbers
    // never go through the locale (the program's own conversions use ".").
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));

    installFontSubstitutes();
    QFont base(QStringLiteral("MS Sans Serif"));
    base.setPointSize(8);
    app.setFont(base);

    setMessageSink([](MessageKind kind, const QString &text) {
        QWidget *parent = QApplication::activeWindow();
        if (kind == MessageKind::Error)
            QMessageBox::critical(parent, QStringLiteral("Berlivo"), text);
        else
            QMessageBox::information(parent, QStringLiteral("Berlivo"), text);
    });
    setQuestionSink([](const QString &text) {
        return QMessageBox::question(QApplication::activeWindow(), QStringLiteral("Confirmation"), text,
                                     QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
    });
    setChoiceSink([](const Choice &choice) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Confirmation"), choice.question, QMessageBox::NoButton,
                        QApplication::activeWindow());
        QList<QAbstractButton *> buttons;
        for (const QString &answer : choice.answers)
            buttons << box.addButton(answer, QMessageBox::ActionRole);
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.value(choice.defaultAnswer)));
        box.setEscapeButton(buttons.value(choice.escapeAnswer));
        box.exec();
        return int(buttons.indexOf(box.clickedButton()));
    });
}
