#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace quarvel::test {

// Sets or removes one environment variable for the life of the object, then puts back what was
// there before, so that one test's environment never leaks into the next.
class ScopedEnvironment {
public:
    // A null value removes the variable.
    ScopedEnvironment(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        set(value);
    }
    ~ScopedEnvironment() { set(m_old ? m_old->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const char* value) const {
        if (value != nullptr) {
            ::setenv(m_name.c_str(), value, 1);
        } else {
            ::unsetenv(m_name.c_str());
        }
    }

    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace quarvel::test
