#pragma once
// The pay slip on a gross basis: the contributions are worked out on the
// gross salary, line by line with its rate and base, and deducted from it;
// the taxable salary is shown too.

#include "windows/slipsheet.h"

class TBulletinbrut : public SlipSheet {
    Q_OBJECT
public:
    explicit TBulletinbrut(QWidget *parent = nullptr);

    QLabel *salbrut, *salimp;
    std::array<QLabel *, ContributionLines> rate{}; // Ed10..Ed18: the BRUT rates
    std::array<QLabel *, ContributionLines> base{}; // Ed19, Ed20, Ed23, Ed25..Ed30: the base percentages

protected:
    SlipResult compute(const SlipInput &in) const override;
    void fillOwn(const SlipResult &r) override;
    bool grossBasis() const override { return true; }
};
