#pragma once
// The help viewer: the program's own window for its compiled help. It shows
// the contents, the index, the full-text search and any topic, and is owned
// by no other window of the program, so that it stays open beside them.
//
// It stands in for the platform help viewer the program was designed for:
// its single entry point takes the same commands.

#include "common/helpfile.h"
#include "widgets/form.h"

#include <QTextBrowser>
#include <functional>
#include <optional>

class QHelpContentWidget;
class QHelpEngine;
class QHelpIndexWidget;
class QHelpSearchQueryWidget;
class QHelpSearchResultWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The viewer's commands, with the numbers of the platform help viewer.
enum HtmlHelpCommand : quint32 {
    HH_DISPLAY_TOC = 1,
    HH_DISPLAY_INDEX = 2,
    HH_DISPLAY_SEARCH = 3, // the search page with an empty query
    HH_HELP_CONTEXT = 15,  // data: the context number
};

// What the viewer layer reports about itself before any window exists: its
// version, or none when it cannot work on this machine. Tests replace the
// report; an empty function restores the real one.
std::optional<ViewerVersion> helpViewerVersion();
void setHelpViewerReport(std::function<std::optional<ViewerVersion>()> report);

// The topic pane: reads the pages of the compiled help from the help engine.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(QHelpEngine *engine, QWidget *parent);
    QVariant loadResource(int type, const QUrl &name) override;
    // Shows a report (a help file that cannot be opened, ...) in place of a topic.
    void showReport(const QString &html);

private:
    QHelpEngine *m_engine;
    QString m_report;
    int m_reports = 0;
};

class TAide : public Form {
    Q_OBJECT
public:
    explicit TAide(QWidget *parent = nullptr);
    ~TAide() override;

    // Opens the viewer, or brings it forward, on `helpFile` at the page the
    // command asks for. A help file that cannot be shown is reported in the
    // topic pane.
    void HtmlHelp(const QString &helpFile, quint32 command, qint32 argument);

    QHelpEngine *engine() const { return m_engine; }
    // The topic shown (empty while a report or nothing is shown).
    QUrl topic() const;

    QTabWidget *Onglets;
    QHelpContentWidget *Sommaire;
    QLineEdit *MotCle;
    QHelpIndexWidget *Index;
    QHelpSearchQueryWidget *Question;
    QHelpSearchResultWidget *Reponses;
    QLabel *Indexation;
    QPushButton *Precedent, *Suivant, *Accueil;
    HelpBrowser *Rubrique;

private:
    bool load(const QString &helpFile);
    void report(const QString &text);
    void openTopic(const QUrl &url);
    void openHome();
    void showContext(qint32 context);
    void selectInContents();

    QHelpEngine *m_engine;
    QString m_helpFile;
    QString m_namespace;
    bool m_ready = false;
};
