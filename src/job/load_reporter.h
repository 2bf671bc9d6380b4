#pragma once

#include "job/load_failure.h"

#include <string_view>

namespace quarvel {

// What a load tells the operator: the loading dialog implements it with its list box, progress
// bar and retry prompt, quarvel-cli on the terminal, tests with a recorder.
class LoadReporter {
public:
    virtual ~LoadReporter() = default;

    // Appends one message line and makes it the current one.
    virtual void addMessage(std::string_view text) = 0;
    // The whole percentage sent; called for every record handled, changed or not.
    virtual void setPercentage(int percent) = 0;
    // The retry question after a record failed three times: true for "Try Again".
    virtual bool askRetry() = 0;
    // Why the load fails, told once, right after the message lines that say so and before the
    // step returns 1. Reporters that show only the lines need not listen.
    virtual void failed(LoadFailure reason) { static_cast<void>(reason); }
};

} // namespace quarvel
