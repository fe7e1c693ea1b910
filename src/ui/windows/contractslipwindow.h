#pragma once
// The pay slip of a regular contract's month: the sheet of the two slips paid
// by the hour, with a pay block worked out from the contract (the mensualised
// salary, the absences taken out of it, the extra hours, the holiday
// supplement, the month's salary) and the rest of the slip by the rules of
// the child's basis, net or gross. A month the contract does not pay says
// why in the sheet itself.

#include "contract/contractslip.h"
#include "windows/slipsheet.h"

class TBulletinContrat : public SlipSheet {
    Q_OBJECT
public:
    explicit TBulletinContrat(QWidget *parent = nullptr);

    // The subtitle "basé sur le net" / "basé sur le brut", and why there is no
    // slip (shown in place of the pay lines).
    QLabel *mode, *Message;
    // The pay block.
    QLabel *hmens, *tauxh, *salmens;
    QLabel *habs, *hplan, *deduc, *datesabs;
    QLabel *hcomp, *mtcomp, *hmaj, *mtmaj, *hferie, *mtferie;
    // The end of the contract, on its last slip only: the notice not worked
    // and the true-up in the pay, the termination indemnity in what is paid.
    QLabel *hpreavis, *mtpreavis, *mtregul, *mtrupture;
    // The paid leave: its caption ("Congés payés" or its complement), days and amount.
    QLabel *libcp, *jcp, *mtcp;
    QLabel *salmois;
    // The month under a legal minimum, said on the sheet.
    QLabel *Avertissement;
    // What belongs to one basis: the gross salary and the taxable salary,
    // the NET coefficients, the BRUT rates and the base percentages.
    QLabel *salbrut, *salimp;
    std::array<QLabel *, ContributionLines> Ed{};   // Ed1..Ed9
    std::array<QLabel *, ContributionLines> rate{}; // Ed10..Ed18
    std::array<QLabel *, ContributionLines> base{}; // Ed19, Ed20, Ed23, Ed25..Ed30

    // The figures the sheet's last activation worked out.
    const contract::ContractSlip &contractSlip() const { return m_slip; }

protected:
    SlipResult compute(const SlipInput &in) const override;
    void fillOwn(const SlipResult &r) override;
    bool grossBasis() const override { return m_gross; }
    std::optional<ContractHours> contractHours() const override;
    bool saysWhyItself(const SlipResult &) const override { return !m_slip.failure.isEmpty(); }
    // The days typed that the contract does not pay as typed.
    QStringList remarks(const SlipInput &) const override { return m_slip.notes; }

private:
    // Places the labels of the basis and hides those of the other one.
    void showBasis(bool gross);

    mutable bool m_gross = false;
    mutable contract::ContractSlip m_slip;
    mutable QString m_notes; // the month's legal minimums not met
    QLabel *m_salaryCaption, *m_netCaption, *m_taxableCaption, *m_netEuro, *m_taxableEuro;
    QList<QLabel *> m_grossOnly, m_netOnly;
    QList<QLabel *> m_endPay, m_endIndemnity; // each line's captions and values
};
