#pragma once
// A child's year of saved slips, for the tax return: one row per month, the
// year's totals, the figures of the childcare tax credit, and the table
// exported as CSV or as a PDF page. Read afresh each time the window becomes
// active or another child or year is chosen.

#include "widgets/form.h"

#include <QList>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QLabel;
class QPushButton;
class QTableWidget;
struct YearSummary;
namespace legal {
struct TaxCredit;
}

class TAnnuel : public Form {
    Q_OBJECT
public:
    explicit TAnnuel(QWidget *parent = nullptr);
    ~TAnnuel() override;

    QComboBox *Enfant, *Annee;
    QLabel *Message, *Note;
    QTableWidget *Grille;
    QList<QLabel *> Fiscal, FiscalValeur; // Fiscal1..3, FiscalValeur1..3
    QPushButton *ExportCsv, *ExportPdf, *Fermer;
    // The childcare tax credit: the aid (CMG) received in the year and the
    // shared custody, both kept in the archive for the child and year; the
    // credit's figures, or the reason there is none.
    QLineEdit *CMG;
    QCheckBox *GardeAlternee;
    static constexpr int CreditRows = 4;
    QList<QLabel *> Credit, CreditValeur; // Credit1..4, CreditValeur1..4
    QLabel *Motif;

    // Where an export goes: the user's choice of file, "" when cancelled.
    // Tests replace it so that no dialog blocks them.
    using FileChooser = std::function<QString(QWidget *parent, const QString &suggested, const QString &filter)>;
    static FileChooser chooseFile;

    void FormActivate();
    void EnfantChange();
    void AnneeChange();
    void ExportCsvClick();
    void ExportPdfClick();
    void CMGExit();
    void GardeAlterneeClick();

    const YearSummary &summary() const { return *m_summary; }
    const legal::TaxCredit &credit() const { return *m_credit; }

protected:
    void onShow() override { FormActivate(); }
    void onActivate() override { FormActivate(); }

private:
    QString childName(int slot) const;
    void fillYears();
    void load();
    void display(const YearSummary &s);
    void showCredit();
    void storeAid();
    QString suggestedName(const QString &extension) const;

    std::unique_ptr<YearSummary> m_summary;
    std::unique_ptr<legal::TaxCredit> m_credit;
    bool m_filling = false;
};
