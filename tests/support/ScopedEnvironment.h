#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace testing_support {

// Sets an environment variable (or unsets it, for a null value) for one
// scope and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name); old != nullptr) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnvironment() { Set(old_ ? old_->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void Set(const char* value) {
#ifdef _WIN32
        _putenv_s(name_, value != nullptr ? value : "");  // an empty value unsets it
#else
        if (value != nullptr) {
            setenv(name_, value, 1);
        } else {
            unsetenv(name_);
        }
#endif
    }
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace testing_support
