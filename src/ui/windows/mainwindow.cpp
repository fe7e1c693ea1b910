#include "windows/mainwindow.h"

#include "widgets/look.h"
#include "windows/declarationwindow.h"
#include "windows/yearsummarywindow.h"
#include "windows/aboutbox.h"
#include "windows/background.h"
#include "widgets/appicons.h"
#include "windows/hourswindow.h"
#include "common/environment.h"
#include "common/helpfile.h"
#include "common/messages.h"
#include "common/numbers.h"
#include "common/version.h"
#include "widgets/helphook.h"
#include "windows/helpviewer.h"
#include "datafolder/backup.h"
#include "datafolder/folderlayout.h"
#include "windows/slipviewerwindow.h"
#include "windows/monthreviewwindow.h"
#include "windows/parameterswindow.h"
#include "windows/windowset.h"
#include "windows/contractwindow.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QFileInfo>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {
QLineEdit *readOnlyEdit(QWidget *parent, const char *name, const QString &text)
{
    auto *e = named<QLineEdit>(parent, name);
    e->setReadOnly(true);
    e->setText(text);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QFont scriptFont(int pixels)
{
    QFont f(QStringLiteral("Monotype Corsiva"));
    f.setPixelSize(pixels);
    f.setItalic(true);
    return f;
}
} // namespace

TEntree::TEntree(QWidget *parent) : Form("TEntree", parent)
{
    setWindowTitle(QStringLiteral("Berlivo Paye"));
    setFixedSize(727, 473);
    centreOnScreen(this);
    setHelpContext(this, MainWindowHelp);
    look::setBackground(this, look::windowColour);

    // Menu: the same four functions as the buttons, always enabled.
    MainMenu1 = named<QMenuBar>(this, "MainMenu1");
    Fichier1 = MainMenu1->addMenu(QStringLiteral("Fichier"));
    Fichier1->setObjectName(QStringLiteral("Fichier1"));
    auto addItem = [](QMenu *menu, const char *name, const QString &caption, const QIcon &icon) {
        QAction *a = menu->addAction(icon, caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    Paramtrer1 = addItem(Fichier1, "Paramtrer1", QStringLiteral("&Parametrer"), appIcon(AppIcon::Settings));
    Dbuter1 = addItem(Fichier1, "Dbuter1", QStringLiteral("&Calculer le salaire"), appIcon(AppIcon::Compute));
    OuvrirMois = addItem(Fichier1, "OuvrirMois", QStringLiteral("&Ouvrir un mois..."), QIcon());
    Remplir = addItem(Fichier1, "Remplir", QStringLiteral("Remplir d'après le &contrat"), QIcon());
    Revoirunmois1 = addItem(Fichier1, "Revoirunmois1", QStringLiteral("&Revoir un mois"), appIcon(AppIcon::Month));
    Revoirunbulletin1 =
        addItem(Fichier1, "Revoirunbulletin1", QStringLiteral("Re&voir un bulletin"), appIcon(AppIcon::Slip));
    Declaration1 = addItem(Fichier1, "Declaration1", QStringLiteral("Déclaration du &mois..."), QIcon());
    Declaration1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    Annuel1 = addItem(Fichier1, "Annuel1", QStringLiteral("Récapitulatif &annuel..."), QIcon());
    Contrat1 = addItem(Fichier1, "Contrat1", QStringLiteral("Contrat de l'&enfant..."), QIcon());
    Contrat1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    Fichier1->addSeparator()->setObjectName(QStringLiteral("N5"));
    Sauvegarder1 = addItem(Fichier1, "Sauvegarder1", QStringLiteral("Sauvegarder mes données..."),
                           style()->standardIcon(QStyle::SP_DialogSaveButton));
    Restaurer1 = addItem(Fichier1, "Restaurer1", QStringLiteral("Restaurer une sauvegarde..."),
                         style()->standardIcon(QStyle::SP_BrowserReload));
    Fichier1->addSeparator()->setObjectName(QStringLiteral("N3"));
    Quitter1 = addItem(Fichier1, "Quitter1", QStringLiteral("&Quitter"), appIcon(AppIcon::Quit));
    N1 = MainMenu1->addMenu(QStringLiteral("?"));
    N1->setObjectName(QStringLiteral("N1"));
    Aide1 = addItem(N1, "Aide1", QStringLiteral("Sommaire de l'aide"), appIcon(AppIcon::Help));
    Indexdelaide1 = addItem(N1, "Indexdelaide1", QStringLiteral("Index de l'aide"), appIcon(AppIcon::Index));
    Recherchedanslaide1 =
        addItem(N1, "Recherchedanslaide1", QStringLiteral("Recherche dans l'aide"), appIcon(AppIcon::Search));
    N1->addSeparator()->setObjectName(QStringLiteral("N4"));
    Apropos1 = addItem(N1, "Apropos1", QStringLiteral("A &propos..."), appIcon(AppIcon::About));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(MainMenu1);

    // Title and version, in the script face on purple.
    Edit1 = readOnlyEdit(this, "Edit1", QStringLiteral("Berlivo Paye"));
    Edit2 = readOnlyEdit(this, "Edit2", QStringLiteral("Version ") + programVersion());
    for (QLineEdit *e : {Edit1, Edit2}) {
        e->setAlignment(Qt::AlignCenter);
        e->setStyleSheet(QStringLiteral("QLineEdit { color: %1; background: %2; border: 2px inset %3; }")
                             .arg(look::iconEdge.name(), look::iconFill.name(), look::titleEdge.name()));
    }
    Edit1->setFont(scriptFont(64));
    Edit1->setGeometry(24, 32, 424, 96);
    Edit2->setFont(scriptFont(35));
    Edit2->setGeometry(24, 136, 424, 56);

    MonthCalendar1 = named<QCalendarWidget>(this, "MonthCalendar1");
    MonthCalendar1->setGeometry(464, 32, 248, 192);
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);

    Edit3 = readOnlyEdit(this, "Edit3", QStringLiteral("Enfant actuellement selectionné  :"));
    Edit3->setGeometry(24, 212, 232, 24);
    selenf = readOnlyEdit(this, "selenf", QString());
    QFont bold = selenf->font();
    bold.setBold(true);
    selenf->setFont(bold);
    selenf->setGeometry(264, 212, 184, 24);

    auto button = [this](const char *name, const QString &caption, const QIcon &icon, QRect r) {
        auto *b = named<QPushButton>(this, name);
        b->setText(caption);
        b->setIcon(icon);
        b->setIconSize(QSize(24, 24));
        b->setGeometry(r);
        return b;
    };
    BitBtn4 = button("BitBtn4", QStringLiteral("&Parametrer"), appIcon(AppIcon::Settings), {24, 256, 208, 48});
    BitBtn3 = button("BitBtn3", QStringLiteral("&Calculer le salaire"), appIcon(AppIcon::Compute), {24, 320, 208, 48});
    BitBtn5 = button("BitBtn5", QStringLiteral("&Revoir un mois"), appIcon(AppIcon::Month), {256, 256, 208, 48});
    BitBtn7 = button("BitBtn7", QStringLiteral("Re&voir un Bulletin"), appIcon(AppIcon::Slip), {256, 320, 208, 48});
    BitBtn2 = button("BitBtn2", QStringLiteral("&Aide"), appIcon(AppIcon::Help), {488, 256, 208, 48});
    BitBtn1 = button("BitBtn1", QStringLiteral("&Quitter"), appIcon(AppIcon::Quit), {488, 320, 208, 48});
    BitBtn2->setCursor(Qt::WhatsThisCursor);
    setHelpContext(BitBtn4, ParametersHelp);
    setHelpContext(BitBtn3, HoursHelp);
    setHelpContext(BitBtn5, MonthReviewHelp);
    setHelpContext(BitBtn7, SlipViewerHelp);
    BitBtn3->setDefault(true);
    BitBtn7->setDefault(true);
    // The functions that need a child's parameters wait for the first "&Parametrer".
    BitBtn3->setEnabled(false);
    BitBtn5->setEnabled(false);
    BitBtn7->setEnabled(false);

    connect(BitBtn4, &QPushButton::clicked, this, &TEntree::BitBtn4Click);
    connect(Paramtrer1, &QAction::triggered, this, &TEntree::BitBtn4Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TEntree::BitBtn3Click);
    connect(Dbuter1, &QAction::triggered, this, &TEntree::BitBtn3Click);
    connect(OuvrirMois, &QAction::triggered, this, &TEntree::OuvrirMoisClick);
    connect(Remplir, &QAction::triggered, this, &TEntree::RemplirClick);
    connect(BitBtn5, &QPushButton::clicked, this, &TEntree::BitBtn5Click);
    connect(Revoirunmois1, &QAction::triggered, this, &TEntree::BitBtn5Click);
    connect(BitBtn7, &QPushButton::clicked, this, &TEntree::BitBtn7Click);
    connect(Revoirunbulletin1, &QAction::triggered, this, &TEntree::BitBtn7Click);
    // The button closes the window (which ends the program); only the menu
    // item restores the separator first.
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
    connect(Quitter1, &QAction::triggered, this, &TEntree::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TEntree::Aide1Click);
    connect(Aide1, &QAction::triggered, this, &TEntree::Aide1Click);
    connect(Indexdelaide1, &QAction::triggered, this, &TEntree::Indexdelaide1Click);
    connect(Recherchedanslaide1, &QAction::triggered, this, &TEntree::Recherchedanslaide1Click);
    connect(Apropos1, &QAction::triggered, this, &TEntree::Apropos1Click);
    connect(Declaration1, &QAction::triggered, this, &TEntree::Declaration1Click);
    connect(Annuel1, &QAction::triggered, this, &TEntree::Annuel1Click);
    connect(Contrat1, &QAction::triggered, this, &TEntree::Contrat1Click);
    connect(Sauvegarder1, &QAction::triggered, this, &TEntree::Sauvegarder1Click);
    connect(Restaurer1, &QAction::triggered, this, &TEntree::Restaurer1Click);

    FormCreate();
}

TEntree::~TEntree() = default;

void TEntree::FormCreate()
{
    setApplicationHelp(this, [this](quint16 command, qint32 Data, bool &callHelp) {
        return ApplicationHelp(command, Data, callHelp);
    });
    m_helpFile = helpFilePath();
    // Both checks only warn: start-up goes on and the help commands stay.
    if (!QFileInfo(m_helpFile).isFile())
        showMessage(QStringLiteral("Le fichier d'aide est introuvable !"));
    if (!viewerIsRecentEnough(helpViewerVersion()))
        showMessage(QStringLiteral("Vous devez installer la version 1.2 ou supérieurede Microsoft HTML Help !"));
}

bool TEntree::ApplicationHelp(quint16 Command, qint32 Data, bool &CallHelp)
{
    CallHelp = false;
    if (Command == HELP_CONTEXT)
        HtmlHelp(HH_HELP_CONTEXT, Data);
    else
        CallHelp = true;
    return true;
}

void TEntree::HtmlHelp(quint32 command, qint32 argument)
{
    if (!m_helpViewer)
        m_helpViewer = std::make_unique<TAide>();
    m_helpViewer->HtmlHelp(m_helpFile, command, argument);
}

void TEntree::onShow()
{
    if (TBVPfond *fond = win().BVPfond) {
        // Cover the screen even where no window manager maximises windows.
        fond->setGeometry(screen()->availableGeometry());
        fond->showMaximized();
    }
}

void TEntree::onActivate()
{
    m_savedSeparator = decimalSeparator();
    if (m_savedSeparator != '.')
        setDecimalSeparator('.');
    if (win().Parametres)
        selenf->setText(win().Parametres->prenom3->text());
    MonthCalendar1->setSelectedDate(now().date());
}

void TEntree::onDeactivate() { closeBackground(); }

void TEntree::onClose(QCloseEvent *e)
{
    // Closing the main window, by its button or its close box, ends the
    // program, or keeps every window when a question is answered "Non".
    e->ignore();
    if (mayQuit())
        endProgram();
}

void TEntree::closeBackground()
{
    if (win().BVPfond)
        win().BVPfond->hide();
}

void TEntree::BitBtn4Click()
{
    closeBackground();
    BitBtn3->setEnabled(true);
    BitBtn5->setEnabled(true);
    BitBtn7->setEnabled(true);
    win().BVPfond->Label1->setVisible(false);
    win().BVPfond->Label2->setVisible(false);
    hide();
    showAndActivate(win().Parametres);
}

void TEntree::BitBtn3Click()
{
    closeBackground();
    showAndActivate(win().Horaire);
}

void TEntree::OuvrirMoisClick()
{
    BitBtn3Click();
    win().Horaire->OuvrirMoisClick();
}

void TEntree::RemplirClick()
{
    BitBtn3Click();
    win().Horaire->RemplirClick();
}

void TEntree::BitBtn5Click()
{
    closeBackground();
    showAndActivate(win().Recap);
}

void TEntree::BitBtn7Click()
{
    closeBackground();
    showAndActivate(win().Revisu);
}

void TEntree::BitBtn1Click()
{
    if (!mayQuit())
        return;
    if (!m_savedSeparator.isNull())
        setDecimalSeparator(m_savedSeparator);
    endProgram();
}

void TEntree::Declaration1Click()
{
    closeBackground();
    showAndActivate(win().Declaration);
}

void TEntree::Annuel1Click()
{
    closeBackground();
    showAndActivate(win().Annuel);
}

void TEntree::Contrat1Click()
{
    closeBackground();
    if (!win().Contrat)
        win().Contrat = new TContrat;
    // A window already open keeps what is typed in it: it only comes forward.
    if (!win().Contrat->isVisible())
        win().Contrat->open();
    showAndActivate(win().Contrat);
}

void TEntree::Apropos1Click() { showAndActivate(win().AboutBox); }

void TEntree::Aide1Click() { HtmlHelp(HH_DISPLAY_TOC, 0); }
void TEntree::Indexdelaide1Click() { HtmlHelp(HH_DISPLAY_INDEX, 0); }
void TEntree::Recherchedanslaide1Click() { HtmlHelp(HH_DISPLAY_SEARCH, 0); }

void TEntree::Sauvegarder1Click()
{
    closeBackground();
    const QString suggested =
        QDir::home().filePath(QStringLiteral("Berlivo sauvegarde %1.zip").arg(now().toString(isoDateFormat())));
    const QString zip = QFileDialog::getSaveFileName(this, QStringLiteral("Sauvegarder mes données"), suggested,
                                                     QStringLiteral("Sauvegardes Berlivo (*.zip)"));
    if (!zip.isEmpty())
        backupTo(zip);
}

void TEntree::backupTo(QString zipPath)
{
    // The file dialog asked about the name as typed: a name that gains its
    // ".zip" here is asked about again, as the file it will replace.
    if (!zipPath.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
        zipPath += QStringLiteral(".zip");
        if (QFileInfo::exists(zipPath) && !confirm(ask::replaceBackup(QDir::toNativeSeparators(zipPath))))
            return;
    }
    saveBackup(zipPath);
}

void TEntree::Restaurer1Click()
{
    closeBackground();
    const QString zip = QFileDialog::getOpenFileName(this, QStringLiteral("Restaurer une sauvegarde"), QDir::homePath(),
                                                     QStringLiteral("Sauvegardes Berlivo (*.zip)"));
    if (!zip.isEmpty())
        restoreBackup(zip);
}

void TEntree::saveBackup(const QString &zipPath)
{
    guarded([&] {
        const backup::Contents saved = backup::create(programFolder(), zipPath);
        QString said = QStringLiteral("Vos données (%1 fichiers) sont sauvegardées dans\n%2")
                           .arg(saved.files.size())
                           .arg(QDir::toNativeSeparators(zipPath));
        if (!saved.leftOutNote.isEmpty())
            said += QStringLiteral("\n\n") + saved.leftOutNote;
        showMessage(said);
    });
}

void TEntree::restoreBackup(const QString &zipPath)
{
    guarded([&] {
        backup::Restore restore(programFolder(), zipPath);
        const backup::Contents &c = restore.contents();
        const QString when = shortDate(c.created.date()) + c.created.toString(QStringLiteral(" à HH:mm"));
        // A no-break space keeps the question mark with its question.
        if (!confirm(QStringLiteral("Restaurer la sauvegarde du %1 (%2 fichiers)\u00a0?\n"
                                    "Elle remplacera vos données, qui seront gardées dans un dossier daté, dans\n%3")
                         .arg(when)
                         .arg(c.files.size())
                         .arg(QDir::toNativeSeparators(programFolder()))))
            return;
        const QString kept = restore.apply();
        // A backup made before a table existed leaves it to be laid out anew.
        folder::layOut(programFolder(), installedFilesFolder() + folder::ratesFile);
        showMessage(QStringLiteral("La sauvegarde du %1 est restaurée.\nVos données précédentes sont gardées dans\n%2")
                        .arg(when, QDir::toNativeSeparators(kept)));
    });
}
