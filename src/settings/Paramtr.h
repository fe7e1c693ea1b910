#pragma once
// SKELETON: the parameters window's public controls; the layout and rules are being built.

#include "app/form.h"

#include <array>

class QTabWidget;
class QTabBar;
class QLineEdit;
class QCheckBox;
class QDateTimeEdit;
class QLabel;
class QPushButton;
class RadioGroup;
class MaskEdit;

class TParametres : public Form {
    Q_OBJECT
public:
    explicit TParametres(QWidget *parent = nullptr);

    QTabWidget *Paramtr;
    QTabBar *TabControl1;
    RadioGroup *pol1, *pol2, *Conges, *Netbrut;
    QLineEdit *nom1, *prenom1, *Adr11, *Adr12, *Ville1, *nom2, *prenom2, *adr21, *adr22, *ville2, *nom3,
        *prenom3, *SH, *SHbr, *FJ, *FJbr, *conge, *Indentr, *PD, *D, *G, *Sp, *diverse, *abs, *accpte, *ETH, *EFJ;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9;
    QLineEdit *Edit10, *Edit11, *Edit12, *Edit13, *Edit14, *Edit15, *Edit16, *Edit17, *Edit18;
    QLineEdit *Edit19, *Edit20, *Edit23, *Edit25, *Edit26, *Edit27, *Edit28, *Edit29, *Edit30;
    std::array<QLineEdit *, 9> netRate{}, grossRate{}, basePercent{};
    MaskEdit *cp1, *cp2, *Tel1, *Tel2, *Secu, *urssaf;
    QCheckBox *CheckBox1, *CheckBox2, *CheckBox3, *CheckBox4, *CheckBox5, *CheckBox6, *CheckBox7, *CheckBox8,
        *CheckBox9, *CheckBox10, *CheckBox11, *CheckBox12, *Indentre;
    QDateTimeEdit *datenaiss, *du, *au;
    QLabel *StaticText1, *StaticText2, *StaticText3, *StaticText4, *StaticText5, *StaticText6, *StaticText7,
        *StaticText8, *StaticText9;
    std::array<QLabel *, 9> lineName{};
    QPushButton *raz, *OK, *Anul, *BitBtn3;
};
