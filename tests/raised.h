#pragma once
// The message of the error a piece of code raises, or "" when it raises none.

#include "common/errors.h"

#include <QString>
#include <functional>

inline QString raised(const std::function<void()> &body)
{
    try {
        body();
    } catch (const RuntimeError &e) {
        return e.message();
    }
    return {};
}
