#pragma once
// A month of March 2002 on the parameters a slot starts with: the worked
// month of the slip and declaration tests.

#include "payslip/slip.h"

#include "shippedrates.h"

#include <QDate>

// The parameters a slot starts with, for a month of March 2002.
inline SlipInput march2002()
{
    SlipInput in;
    in.moan = "0302";
    in.totheur = "0";
    in.prenom3 = "Julie";
    in.nom3 = "Martin";
    in.pol1 = 0;
    in.pol2 = 0;
    in.nom1 = "Durand";
    in.prenom1 = "Anne";
    in.Secu = "2 75 03 75 112 005 -42";
    in.nom2 = "Martin";
    in.urssaf = "75 01 234 567 890";
    in.lineName = shippedRates().names;
    in.netRate = shippedRates().net;
    in.grossRate = shippedRates().gross;
    in.basePercent = shippedRates().bases;
    in.SH = "3.00";
    in.FJ = "30";
    in.SHbr = "4.00";
    in.FJbr = "40";
    in.Indentr = "2";
    in.ETH = "0";
    in.EFJ = "0";
    in.diverse = "0";
    in.abs = "0";
    in.accpte = "0";
    in.PD = "0.76";
    in.D = "2.29";
    in.G = "0.76";
    in.Sp = "1.52";
    in.today = QDate(2002, 3, 31);
    return in;
}

inline void setDay(SlipInput &in, int day, const QString &duration, bool flat = false, bool holiday = false)
{
    SheetDay &d = in.days[day - 1];
    d.date = QStringLiteral("%1/03/2002").arg(day, 2, 10, QChar('0'));
    d.duration = duration;
    d.flatRate = flat ? "OUI" : "";
    d.holiday = holiday ? "OUI" : "";
}
