#include "Paramtr.h"

#include "app/radiogroup.h"
#include "maskedit.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

TParametres::TParametres(QWidget *parent) : Form("TParametres", parent)
{
    setWindowTitle(QStringLiteral("Parametres"));
    Paramtr = named<QTabWidget>(this, "Paramtr");
    TabControl1 = named<QTabBar>(this, "TabControl1");
    for (int i = 1; i <= 5; ++i)
        TabControl1->addTab(QStringLiteral("Enfant %1").arg(i));
    pol1 = new RadioGroup("pol1", QStringLiteral("Politesse :"), {"Madame", "Mademoiselle", "Monsieur"}, this);
    pol2 = new RadioGroup("pol2", QStringLiteral("Politesse :"), {"Monsieur", "Madame", "Mademoiselle"}, this);
    Conges = new RadioGroup("Conges", QStringLiteral("Congés payés :"),
                            {QStringLiteral("Répartis sur l'année :"), QStringLiteral("Sur le mois de vacances.")}, this);
    Netbrut = new RadioGroup("Netbrut", QStringLiteral("Mode de calcul :"), {"NET", "BRUT"}, this);
#define E(n) n = named<QLineEdit>(this, #n)
    E(nom1); E(prenom1); E(Adr11); E(Adr12); E(Ville1); E(nom2); E(prenom2); E(adr21); E(adr22); E(ville2);
    E(nom3); E(prenom3); E(SH); E(SHbr); E(FJ); E(FJbr); E(conge); E(Indentr); E(PD); E(D); E(G); E(Sp);
    E(diverse); E(abs); E(accpte); E(ETH); E(EFJ);
    E(Edit1); E(Edit2); E(Edit3); E(Edit4); E(Edit5); E(Edit6); E(Edit7); E(Edit8); E(Edit9);
    E(Edit10); E(Edit11); E(Edit12); E(Edit13); E(Edit14); E(Edit15); E(Edit16); E(Edit17); E(Edit18);
    E(Edit19); E(Edit20); E(Edit23); E(Edit25); E(Edit26); E(Edit27); E(Edit28); E(Edit29); E(Edit30);
#undef E
    netRate = {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9};
    grossRate = {Edit10, Edit11, Edit12, Edit13, Edit14, Edit15, Edit16, Edit17, Edit18};
    basePercent = {Edit19, Edit20, Edit23, Edit25, Edit26, Edit27, Edit28, Edit29, Edit30};
    cp1 = new MaskEdit("cp1", "00 000;1;_", this);
    cp2 = new MaskEdit("cp2", "00 000;1;_", this);
    Tel1 = new MaskEdit("Tel1", "!00\\.00\\.00\\.00\\.00;1;_", this);
    Tel2 = new MaskEdit("Tel2", "!00\\.00\\.00\\.00\\.00;1;_", this);
    Secu = new MaskEdit("Secu", "!0 00 00 00 000 000\\ -99;1;_", this);
    urssaf = new MaskEdit("urssaf", "!00 00 000 000 000;1;_", this);
#define C(n) n = named<QCheckBox>(this, #n)
    C(CheckBox1); C(CheckBox2); C(CheckBox3); C(CheckBox4); C(CheckBox5); C(CheckBox6); C(CheckBox7);
    C(CheckBox8); C(CheckBox9); C(CheckBox10); C(CheckBox11); C(CheckBox12); C(Indentre);
#undef C
    datenaiss = named<QDateTimeEdit>(this, "datenaiss");
    du = named<QDateTimeEdit>(this, "du");
    au = named<QDateTimeEdit>(this, "au");
#define L(n) n = named<QLabel>(this, #n)
    L(StaticText1); L(StaticText2); L(StaticText3); L(StaticText4); L(StaticText5); L(StaticText6);
    L(StaticText7); L(StaticText8); L(StaticText9);
#undef L
    lineName = {StaticText1, StaticText2, StaticText3, StaticText4, StaticText5,
                StaticText6, StaticText7, StaticText8, StaticText9};
    raz = named<QPushButton>(this, "raz");
    OK = named<QPushButton>(this, "OK");
    Anul = named<QPushButton>(this, "Anul");
    BitBtn3 = named<QPushButton>(this, "BitBtn3");
}
