#pragma once
// Records every error report made while it is alive, so a test can check which report
// fired, with which text, and that the code then carried on.

#include "marrowgate/core/mg_error.h"

#include <string>
#include <vector>

namespace QuorvaneTest {

class ErrorCapture : public Marrowgate::Core::Error::ErrorHandlerInterface
{
public:
    ErrorCapture() { Marrowgate::Core::Error::AddErrorHandler(this); }
    ~ErrorCapture() override { Marrowgate::Core::Error::RemoveErrorHandler(this); }
    ErrorCapture(const ErrorCapture&) = delete;
    ErrorCapture& operator=(const ErrorCapture&) = delete;

    void OnErrorFired(const std::string& message) override { messages.push_back(message); }

    bool Fired() const { return !messages.empty(); }
    const std::string& Last() const { return messages.back(); }

    std::vector<std::string> messages;
};

} // namespace QuorvaneTest
