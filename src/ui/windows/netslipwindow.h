#pragma once
// The pay slip on a net basis: the contributions are worked out from the net
// salary for information, and the amount to pay is the net salary plus the
// allowances, less the advance.

#include "windows/slipsheet.h"

class TBulletin : public SlipSheet {
    Q_OBJECT
public:
    explicit TBulletin(QWidget *parent = nullptr);

    std::array<QLabel *, ContributionLines> Ed{}; // Ed1..Ed9: the NET coefficients

protected:
    SlipResult compute(const SlipInput &in) const override;
    void fillOwn(const SlipResult &r) override;
};
