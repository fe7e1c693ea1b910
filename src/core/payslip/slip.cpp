#include "payslip/slip.h"

#include "common/environment.h"
#include "common/errors.h"
#include "common/monthkey.h"
#include "common/numbers.h"
#include "attendance/duration.h"
#include "contract/contractrules.h"
#include "settings/numberfields.h"
#include "settings/paramrecord.h"
#include "settings/ratesfile.h"

namespace {
enum class Basis { Net, Gross };

// The leave allowance, the paid leave's tenth, as an extended constant.
constexpr long double leaveShare = contract::rules::LeaveSharePercent / 100.0L;

class SlipComputation {
public:
    // `monthSalary`: a regular contract's salary for the month, which takes
    // the place of the base pay, its holiday supplement and its leave share;
    // `contractLeave` the paid leave it holds; `paidApart` a sum paid with the
    // salary but not subject to contributions (a contract's termination
    // indemnity), added to the amount to pay.
    SlipComputation(const SlipInput &input, Basis b, std::optional<Money> monthSalary = std::nullopt,
                    Money leave = Money(), Money paidApart = Money())
        : in(input), basis(b), contractSalary(monthSalary), contractLeave(leave), nonSalary(paidApart)
    {
    }

    SlipResult run()
    {
        try {
            steps();
        } catch (const RuntimeError &e) {
            out.error = e.message();
            out.stoppedAtStep = step;
        }
        return out;
    }

private:
    const SlipInput &in;
    const Basis basis;
    const std::optional<Money> contractSalary;
    const Money contractLeave;
    const Money nonSalary;
    SlipResult out;
    int step = 0;

    // A parameter read as a number; a text that does not read stops the slip
    // with the runtime's message after the field's name, so that a value
    // edited by hand in a file is found where it is.
    template <class Read>
    auto reading(const QString &field, Read &&read) const -> decltype(read())
    {
        try {
            return read();
        } catch (const RuntimeError &e) {
            const numberfield::Field *f = numberfield::find(field);
            if (!f)
                throw;
            throw RuntimeError(
                rtl::inField(numberfield::caption(*f, f->line ? in.lineName[f->line - 1] : QString()), e.message()));
        }
    }
    Money money(const QString &field, const QString &text) const
    {
        return reading(field, [&] { return moneyFromText(text); });
    }
    long double real(const QString &field, const QString &text) const
    {
        return reading(field, [&] { return parseFloat(text); });
    }
    // The contribution table's fields of line k (0 to 8).
    static QString netRateField(int k) { return rates::lineField(rates::NetLine + k); }
    static QString grossRateField(int k) { return rates::lineField(rates::GrossLine + k); }
    static QString baseField(int k) { return rates::lineField(rates::BaseLine + k); }

    void steps()
    {
        monthAndYear();
        step = 2; // the print/save window is shown by the slip window itself
        parties();
        leaveDates();
        contributionLines();
        step = 6;
        out.Date = shortDate(in.today);
        gridTitles();
        dayLoop();
        pay();
    }

    void monthAndYear()
    {
        step = 1;
        // A key too short to hold a month and a year (no day of the month
        // was dated) names neither.
        if (in.moan.size() < 4) {
            out.mois = QString();
            out.an = QString();
            return;
        }
        out.mois = slipMonthName(parseInt(keyMonthText(in.moan)));
        out.an = keyYearText(in.moan);
    }

    void parties()
    {
        step = 3;
        out.prenom = in.prenom3;
        out.nom = in.nom3;
        const QString t1 = paramrecord::employeeTitles().value(in.pol1),
                      t2 = paramrecord::employerTitles().value(in.pol2);
        if (t1.isEmpty())
            out.pol1Kept = true;
        else
            out.pol1 = t1;
        if (t2.isEmpty())
            out.pol2Kept = true;
        else
            out.pol2 = t2;
        out.nom1 = in.nom1;
        out.nom2 = in.nom2;
        out.prenom1 = in.prenom1;
        out.prenom2 = in.prenom2;
        out.adr11 = in.Adr11;
        out.adr12 = in.Adr12;
        out.adr21 = in.adr21;
        out.adr22 = in.adr22;
        out.cp1 = in.cp1;
        out.cp2 = in.cp2;
        out.ville1 = in.Ville1;
        out.ville2 = in.ville2;
        out.secu1 = in.Secu;
        out.secu2 = in.urssaf;
    }

    void leaveDates()
    {
        step = 4;
        out.du = in.CheckBox10 ? shortDate(in.du) : QString();
        out.au = in.CheckBox10 ? shortDate(in.au) : QString();
    }

    void contributionLines()
    {
        step = 5;
        for (int k = 0; k < ContributionLines; ++k)
            out.St[k] = in.lineName[k];
        for (int k = 0; k < ContributionLines; ++k)
            out.rate[k] = basis == Basis::Net ? in.netRate[k] : in.grossRate[k];
        if (basis == Basis::Gross)
            for (int k = 0; k < ContributionLines; ++k)
                out.base[k] = in.basePercent[k];
    }

    void gridTitles()
    {
        step = 7;
        out.Grille[0] = {QStringLiteral("Dates"), QStringLiteral("Forfait"), QStringLiteral("Heures")};
    }

    // An amount's text, and the amount as that text shows it.
    static void show(SlipText &text, Money &shownAmount, Money amount)
    {
        text = formatAmount(amount);
        shownAmount = shown(amount);
    }

    // Counted by the day loop.
    int flatDays = 0, breakfasts = 0, lunches = 0, snacks = 0, dinners = 0, holidayFlatDays = 0;
    double holidayHours = 0.0;

    void dayLoop()
    {
        step = 8;
        const QString yes = sheet::mark(sheet::Flat);
        for (int r = 1; r <= 31; ++r) {
            const SheetDay &day = in.days[r - 1];
            auto &row = out.Grille[r];
            row[0] = day.date;
            const bool flat = day.flatRate == yes;
            row[1] = flat ? QStringLiteral("X") : QString();
            flatDays += flat;
            row[2] = day.duration;
            breakfasts += day.breakfast == sheet::mark(sheet::Breakfast);
            lunches += day.lunch == sheet::mark(sheet::Lunch);
            snacks += day.snack == sheet::mark(sheet::Snack);
            dinners += day.dinner == sheet::mark(sheet::Dinner);
            if (day.holiday == sheet::mark(sheet::Holiday)) {
                if (flat)
                    ++holidayFlatDays;
                // A holiday with neither a flat rate nor hours was not worked.
                else if (!day.duration.trimmed().isEmpty())
                    holidayHours += durationHoursExtended(day.duration);
            }
        }
    }

    // A regular contract's month: its salary S stands where the base pay
    // and the holiday supplement would, and bears no leave share (the
    // contract's paid leave is paid when it is taken).
    Money contractMonthSalary(Money &absence, Money &sundry, Money &leave)
    {
        step = 14;
        leave = contractLeave;
        absence = money(QStringLiteral("abs"), in.abs);
        sundry = money(QStringLiteral("diverse"), in.diverse);
        return round4(absence.value() + (sundry.value() + contractSalary->value()));
    }

    // Paid by the hour: the base pay, the holiday supplement and 10 % of
    // both for the paid leave; `leave` receives that share.
    Money hourlySalary(Money &absence, Money &sundry, double totalHours, Money &leave)
    {
        const QString &hourlyText = basis == Basis::Net ? in.SH : in.SHbr;
        const QString &dailyText = basis == Basis::Net ? in.FJ : in.FJbr;
        const QString hourlyField = basis == Basis::Net ? QStringLiteral("SH") : QStringLiteral("SHbr");
        const QString dailyField = basis == Basis::Net ? QStringLiteral("FJ") : QStringLiteral("FJbr");

        // Holiday hours and holiday flat days are paid only through the
        // supplement, at the multiplier's rate; it stays unrounded.
        step = 12;
        double holidaySupplement = 0.0;
        if (in.Indentre) {
            const long double hourly = money(hourlyField, hourlyText).value();
            const long double multiplier = real(QStringLiteral("Indentr"), in.Indentr);
            const long double daily = money(dailyField, dailyText).value();
            holidaySupplement = double(hourly * (multiplier * holidayHours) + multiplier * (daily * holidayFlatDays));
        }

        // Every other hour of the month is paid at the hourly rate, also on a
        // flat-rate day.
        step = 13;
        const Money basePay =
            round4(money(hourlyField, hourlyText).value() * (static_cast<long double>(totalHours) - holidayHours) +
                   money(dailyField, dailyText).value() * (flatDays - holidayFlatDays));

        step = 14;
        absence = money(QStringLiteral("abs"), in.abs);
        sundry = money(QStringLiteral("diverse"), in.diverse);
        const Money salary =
            round4(absence.value() + (sundry.value() + (leaveShare * basePay.value() + basePay.value())) +
                   holidaySupplement + leaveShare * holidaySupplement);
        leave = round4(leaveShare * basePay.value() + leaveShare * holidaySupplement);
        return salary;
    }

    void pay()
    {
        step = 9;
        out.totheur = in.totheur;
        const double totalHours = double(parseFloat(in.totheur));
        out.nbjf = QString::number(flatDays);

        step = 10;
        const Money hourlyUpkeep =
            in.CheckBox11 ? round4(money(QStringLiteral("ETH"), in.ETH).value() * totalHours) : Money();
        const Money dailyUpkeep =
            in.CheckBox12 ? round4(money(QStringLiteral("EFJ"), in.EFJ).value() * flatDays) : Money();

        step = 11;
        out.feri1 = QString::number(holidayFlatDays);
        out.feri2 = formatGeneral(holidayHours);

        Money leave, absence, sundry;
        const Money salary =
            contractSalary ? contractMonthSalary(absence, sundry, leave) : hourlySalary(absence, sundry, totalHours, leave);
        if (basis == Basis::Net)
            show(out.salnet, out.amounts.salnet, salary);
        else
            show(out.salbrut, out.amounts.salbrut, salary);

        step = 15;
        show(out.Cong, out.amounts.Cong, leave);
        show(out.abs, out.amounts.abs, absence);
        show(out.entret, out.amounts.entret, round4(hourlyUpkeep.value() + dailyUpkeep.value()));
        show(out.diver, out.amounts.diver, sundry);

        // The contributions work on the salary as shown.
        step = 16;
        const long double shownSalary = shown(salary).value();
        std::array<Money, ContributionLines> contribution{};
        for (int k = 0; k < ContributionLines; ++k) {
            if (basis == Basis::Net) {
                contribution[k] =
                    reading(netRateField(k), [&] { return netBasisContribution(shownSalary, in.netRate[k]); });
            } else {
                const long double rate = real(grossRateField(k), in.grossRate[k]);
                const long double percent = reading(baseField(k), [&] { return parseInt(in.basePercent[k]); });
                contribution[k] = round4(shownSalary * rate * percent / 10000.0L);
            }
            show(out.cs[k], out.amounts.cs[k], contribution[k]);
        }

        step = 17;
        long double contributions = 0;
        for (const Money c : contribution)
            contributions += shown(c).value();
        const Money total = round4(contributions);
        show(out.totcs, out.amounts.totcs, total);
        Money netSalary = salary;
        if (basis == Basis::Gross) {
            netSalary = round4(shownSalary - shown(total).value());
            show(out.salnet, out.amounts.salnet, netSalary);
        }

        step = 18;
        const Money meals = round4(money(QStringLiteral("PD"), in.PD).value() * breakfasts +
                                   money(QStringLiteral("D"), in.D).value() * lunches +
                                   money(QStringLiteral("G"), in.G).value() * snacks +
                                   money(QStringLiteral("Sp"), in.Sp).value() * dinners);
        show(out.nour, out.amounts.nour, meals);
        const Money advance = money(QStringLiteral("accpte"), in.accpte);
        show(out.acpt, out.amounts.acpt, advance);

        // The maintenance allowances enter with their four decimals, the rest as shown.
        step = 19;
        show(out.net, out.amounts.net,
             round4(shown(netSalary).value() + shown(meals).value() + hourlyUpkeep.value() + dailyUpkeep.value() -
                    shown(advance).value() + shown(nonSalary).value()));

        if (basis == Basis::Gross) {
            step = 20;
            show(out.salimp, out.amounts.salimp, round4(shown(netSalary).value() + shown(contribution[0]).value()));
        }
    }
};
} // namespace

Money netBasisContribution(long double netAmount, const QString &coefficient)
{
    return round4(netAmount * parseFloat(coefficient));
}

Money grossOfNet(Money net, const std::array<QString, ContributionLines> &netRate)
{
    long double gross = net.value();
    for (const QString &coefficient : netRate)
        gross += netBasisContribution(net.value(), coefficient).value();
    return round4(gross);
}

SlipResult computeNetSlip(const SlipInput &in) { return SlipComputation(in, Basis::Net).run(); }
SlipResult computeGrossSlip(const SlipInput &in) { return SlipComputation(in, Basis::Gross).run(); }
SlipResult computeContractSlip(const SlipInput &in, bool grossBasis, Money monthSalary, Money leave, Money nonSalary)
{
    return SlipComputation(in, grossBasis ? Basis::Gross : Basis::Net, monthSalary, leave, nonSalary).run();
}

SlipInput slipInputFrom(const ParamRecord &r, const MonthSheet &sheet, const QString &monthKey,
                        const QString &totalHours, const QDate &today)
{
    SlipInput in;
    in.moan = monthKey;
    in.totheur = totalHours;
    for (int row = 1; row <= sheet::LastDay; ++row)
        in.days[std::size_t(row - 1)] = sheetDay(sheet, row);
    in.prenom3 = r.prenom3;
    in.nom3 = r.nom3;
    in.pol1 = r.pol1;
    in.nom1 = r.nom1;
    in.prenom1 = r.prenom1;
    in.Adr11 = r.Adr11;
    in.Adr12 = r.Adr12;
    in.cp1 = r.cp1;
    in.Ville1 = r.Ville1;
    in.Secu = r.Secu;
    in.pol2 = r.pol2;
    in.nom2 = r.nom2;
    in.prenom2 = r.prenom2;
    in.adr21 = r.adr21;
    in.adr22 = r.adr22;
    in.cp2 = r.cp2;
    in.ville2 = r.ville2;
    in.urssaf = r.urssaf;
    in.CheckBox10 = r.CheckBox10 != 0;
    in.du = fromDateNumber(r.du).date();
    in.au = fromDateNumber(r.au).date();
    in.lineName = r.lineName;
    in.netRate = r.netRate;
    in.grossRate = r.grossRate;
    in.basePercent = r.basePercent;
    in.SH = r.SH;
    in.FJ = r.FJ;
    in.SHbr = r.SHbr;
    in.FJbr = r.FJbr;
    in.Indentre = r.Indentre != 0;
    in.Indentr = r.Indentr;
    in.CheckBox11 = r.CheckBox11 != 0;
    in.ETH = r.ETH;
    in.CheckBox12 = r.CheckBox12 != 0;
    in.EFJ = r.EFJ;
    in.diverse = r.diverse;
    in.abs = r.abs;
    in.accpte = r.accpte;
    in.PD = r.PD;
    in.D = r.D;
    in.G = r.G;
    in.Sp = r.Sp;
    in.today = today;
    return in;
}

SheetDay sheetDay(const MonthSheet &s, int row)
{
    using namespace sheet;
    return {s.cell(Date, row),  s.cell(Duration, row), s.cell(Flat, row),   s.cell(Breakfast, row),
            s.cell(Lunch, row), s.cell(Snack, row),    s.cell(Dinner, row), s.cell(Holiday, row)};
}
