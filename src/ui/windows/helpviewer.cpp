#include "windows/helpviewer.h"

#include "common/programfiles.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QSqlDatabase>
#include <QStyle>
#include <QTabWidget>
#include <QTranslator>
#include <QVBoxLayout>
#include <QVersionNumber>

namespace {
std::function<std::optional<ViewerVersion>()> &viewerReport()
{
    static std::function<std::optional<ViewerVersion>()> report;
    return report;
}

// The viewer is Qt Help, which keeps its collection and search index in
// SQLite: without the driver it cannot open anything.
std::optional<ViewerVersion> realViewerVersion()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return std::nullopt;
    const QVersionNumber qt = QLibraryInfo::version();
    return ViewerVersion{quint16(qt.majorVersion()), quint16(qt.minorVersion())};
}

// The page every help opens on, in the virtual folder of the help project.
const QString homePage = QStringLiteral("aide/index.html");

// Qt Help's French translation still files the texts of the search results
// under the name the result page had in earlier versions.
class HelpTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation, int n) const override
    {
        if (qstrcmp(context, "QResultWidget") == 0)
            context = "QCLuceneResultWidget";
        return QTranslator::translate(context, sourceText, disambiguation, n);
    }
};

// The search and index widgets of Qt Help speak French too.
void installHelpTranslation()
{
    static bool done = false;
    if (done || !qApp)
        return;
    done = true;
    auto *french = new HelpTranslator(qApp);
    if (french->load(QStringLiteral("qt_help_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(french);
    else
        delete french;
}

QString escaped(const QString &text) { return text.toHtmlEscaped(); }
} // namespace

std::optional<ViewerVersion> helpViewerVersion() { return viewerReport() ? viewerReport()() : realViewerVersion(); }

void setHelpViewerReport(std::function<std::optional<ViewerVersion>()> report) { viewerReport() = std::move(report); }

HelpBrowser::HelpBrowser(QHelpEngine *engine, QWidget *parent) : QTextBrowser(parent), m_engine(engine) {}

void HelpBrowser::showReport(const QString &html)
{
    // A page of its own, so that going back and forth, and opening again the
    // topic shown before, behave as with any page.
    m_report = html;
    setSource(QUrl(QStringLiteral("rapport:%1").arg(++m_reports)));
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (name.scheme() == QLatin1String("rapport"))
        return m_report;
    if (name.scheme() != QLatin1String("qthelp"))
        return QTextBrowser::loadResource(type, name);
    QUrl file = name;
    file.setFragment(QString());
    return m_engine->fileData(file);
}

TAide::TAide(QWidget *parent) : Form("TAide", parent)
{
    installHelpTranslation();
    setWindowTitle(QStringLiteral("Aide de Berlivo Paye"));
    resize(960, 680);
    centreOnScreen(this);

    // The collection lives where the user may write, beside the search index.
    m_engine = new QHelpEngine(helpCacheFolder() + '/' + folder::helpCollection, this);
    m_engine->setReadOnly(false);
    m_engine->setUsesFilterEngine(true);

    Onglets = named<QTabWidget>(this, "Onglets");
    Onglets->setDocumentMode(true);

    Sommaire = m_engine->contentWidget();
    Sommaire->setObjectName(QStringLiteral("Sommaire"));
    Sommaire->setHeaderHidden(true);
    Onglets->addTab(Sommaire, QStringLiteral("Sommaire"));

    auto *indexPage = new QWidget;
    indexPage->setObjectName(QStringLiteral("PageIndex"));
    auto *indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(new QLabel(QStringLiteral("Tapez le mot clé à trouver :"), indexPage));
    MotCle = named<QLineEdit>(indexPage, "MotCle");
    MotCle->setClearButtonEnabled(true);
    indexLayout->addWidget(MotCle);
    Index = m_engine->indexWidget();
    Index->setObjectName(QStringLiteral("Index"));
    indexLayout->addWidget(Index);
    Onglets->addTab(indexPage, QStringLiteral("Index"));

    auto *searchPage = new QWidget;
    searchPage->setObjectName(QStringLiteral("PageRecherche"));
    auto *searchLayout = new QVBoxLayout(searchPage);
    QHelpSearchEngine *search = m_engine->searchEngine();
    Question = search->queryWidget();
    Question->setObjectName(QStringLiteral("Question"));
    Question->setCompactMode(true);
    searchLayout->addWidget(Question);
    Indexation = named<QLabel>(searchPage, "Indexation");
    Indexation->setText(QStringLiteral("Préparation de la recherche..."));
    Indexation->hide();
    searchLayout->addWidget(Indexation);
    Reponses = search->resultWidget();
    Reponses->setObjectName(QStringLiteral("Reponses"));
    searchLayout->addWidget(Reponses, 1);
    Onglets->addTab(searchPage, QStringLiteral("Recherche"));

    auto *topicPane = new QWidget;
    auto *topicLayout = new QVBoxLayout(topicPane);
    topicLayout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QHBoxLayout;
    auto button = [&](const char *name, const QString &caption, QStyle::StandardPixmap icon) {
        auto *b = named<QPushButton>(topicPane, name);
        b->setText(caption);
        b->setIcon(style()->standardIcon(icon));
        b->setFocusPolicy(Qt::TabFocus);
        bar->addWidget(b);
        return b;
    };
    Precedent = button("Precedent", QStringLiteral("&Précédente"), QStyle::SP_ArrowBack);
    Suivant = button("Suivant", QStringLiteral("&Suivante"), QStyle::SP_ArrowForward);
    Accueil = button("Accueil", QStringLiteral("&Accueil"), QStyle::SP_DirHomeIcon);
    bar->addStretch(1);
    topicLayout->addLayout(bar);
    Rubrique = new HelpBrowser(m_engine, topicPane);
    Rubrique->setObjectName(QStringLiteral("Rubrique"));
    Rubrique->setOpenExternalLinks(true);
    topicLayout->addWidget(Rubrique, 1);
    Precedent->setEnabled(false);
    Suivant->setEnabled(false);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(Onglets);
    split->addWidget(topicPane);
    split->setStretchFactor(1, 1);
    split->setSizes({290, 670});
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(split);

    connect(Sommaire, &QHelpContentWidget::linkActivated, this, &TAide::openTopic);
    connect(MotCle, &QLineEdit::textChanged, Index, [this](const QString &text) { Index->filterIndices(text); });
    connect(MotCle, &QLineEdit::returnPressed, Index, &QHelpIndexWidget::activateCurrentItem);
    connect(Index, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document, const QString &) { openTopic(document.url); });
    // A keyword of several topics opens the first: each keyword of this help
    // names one topic.
    connect(Index, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink> &documents, const QString &) {
                if (!documents.isEmpty())
                    openTopic(documents.first().url);
            });
    connect(Question, &QHelpSearchQueryWidget::search, search, [this, search] {
        Reponses->show();
        search->search(Question->searchInput());
    });
    connect(Reponses, &QHelpSearchResultWidget::requestShowLink, this, &TAide::openTopic);
    connect(search, &QHelpSearchEngine::indexingStarted, Indexation, &QWidget::show);
    connect(search, &QHelpSearchEngine::indexingFinished, Indexation, &QWidget::hide);
    connect(Precedent, &QPushButton::clicked, Rubrique, &QTextBrowser::backward);
    connect(Suivant, &QPushButton::clicked, Rubrique, &QTextBrowser::forward);
    connect(Accueil, &QPushButton::clicked, this, &TAide::openHome);
    connect(Rubrique, &QTextBrowser::backwardAvailable, Precedent, &QWidget::setEnabled);
    connect(Rubrique, &QTextBrowser::forwardAvailable, Suivant, &QWidget::setEnabled);
    connect(Rubrique, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = Rubrique->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Aide de Berlivo Paye")
                                       : QStringLiteral("Aide de Berlivo Paye - %1").arg(title));
        selectInContents();
    });
    // The contents are read in the background: once there, they show whole.
    connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
        Sommaire->expandAll();
        selectInContents();
    });
}

void TAide::selectInContents()
{
    // Keep the contents in step with the topic, wherever it was opened from.
    QUrl page = topic();
    page.setFragment(QString());
    const QModelIndex item = page.isEmpty() ? QModelIndex() : Sommaire->indexOf(page);
    if (item.isValid())
        Sommaire->setCurrentIndex(item);
}

TAide::~TAide() = default;

QUrl TAide::topic() const
{
    const QUrl shown = Rubrique->source();
    return shown.scheme() == QLatin1String("qthelp") ? shown : QUrl();
}

void TAide::HtmlHelp(const QString &helpFile, quint32 command, qint32 argument)
{
    showAndActivate(this);
    if (!load(helpFile))
        return;
    switch (command) {
    case HH_DISPLAY_TOC:
        Onglets->setCurrentWidget(Sommaire);
        if (topic().isEmpty())
            openHome();
        Sommaire->setFocus();
        break;
    case HH_DISPLAY_INDEX:
        Onglets->setCurrentIndex(1);
        if (topic().isEmpty())
            openHome();
        MotCle->setFocus();
        break;
    case HH_DISPLAY_SEARCH:
        Onglets->setCurrentIndex(2);
        // A fresh search: no query, and no list of results left from before.
        Question->setSearchInput(QString());
        Reponses->hide();
        if (topic().isEmpty())
            openHome();
        Question->setFocus();
        break;
    case HH_HELP_CONTEXT: showContext(argument); break;
    default: break;
    }
}

bool TAide::load(const QString &helpFile)
{
    if (m_ready && helpFile == m_helpFile)
        return true;
    m_ready = false;
    m_helpFile = helpFile;
    const QString shown = QDir::toNativeSeparators(helpFile);
    if (!QFileInfo(helpFile).isFile()) {
        report(QStringLiteral("Le fichier d'aide %1 est introuvable.").arg(shown));
        return false;
    }
    const QString ns = QHelpEngineCore::namespaceName(helpFile);
    if (ns.isEmpty()) {
        report(QStringLiteral("Le fichier d'aide %1 est illisible.").arg(shown));
        return false;
    }
    QDir().mkpath(QFileInfo(m_engine->collectionFile()).absolutePath());
    if (!m_engine->setupData()) {
        report(QStringLiteral("L'aide ne peut pas s'ouvrir : %1").arg(m_engine->error()));
        return false;
    }
    // The collection holds this one help, from where it lies now: a program
    // moved to another folder must not keep showing the help it left behind.
    bool changed = false;
    for (const QString &known : m_engine->registeredDocumentations()) {
        if (known != ns || QFileInfo(m_engine->documentationFileName(known)) != QFileInfo(helpFile)) {
            m_engine->unregisterDocumentation(known);
            changed = true;
        }
    }
    if (!m_engine->registeredDocumentations().contains(ns)) {
        if (!m_engine->registerDocumentation(helpFile)) {
            report(QStringLiteral("L'aide ne peut pas s'ouvrir : %1").arg(m_engine->error()));
            return false;
        }
        changed = true;
    }
    if (changed)
        m_engine->setupData(); // contents and index read anew
    m_namespace = ns;
    m_engine->searchEngine()->scheduleIndexDocumentation();
    m_ready = true;
    return true;
}

void TAide::report(const QString &text)
{
    Rubrique->showReport(
        QStringLiteral("<html><head><title>Aide</title></head><body><h2>%1</h2></body></html>").arg(escaped(text)));
}

void TAide::openTopic(const QUrl &url)
{
    if (url.isValid())
        Rubrique->setSource(url);
}

void TAide::openHome()
{
    if (m_ready)
        openTopic(QUrl(QStringLiteral("qthelp://%1/%2").arg(m_namespace, homePage)));
}

void TAide::showContext(qint32 context)
{
    const QList<QHelpLink> topics = m_engine->documentsForIdentifier(QString::number(context));
    if (topics.isEmpty()) {
        report(QStringLiteral("Aucune rubrique de l'aide ne correspond au numéro %1.").arg(context));
        return;
    }
    Onglets->setCurrentWidget(Sommaire);
    openTopic(topics.first().url);
}
