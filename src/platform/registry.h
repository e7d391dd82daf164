#pragma once
#include <stdexcept>
#include <string>

namespace tastomat {

// A registry value that exists but holds no text.
class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The current user's registry, read only as far as values go.
class UserRegistry {
  public:
    virtual ~UserRegistry() = default;
    // The text of value `name` of `key`\`subkey` under HKEY_CURRENT_USER, taken as stored
    // (an expandable string is not expanded). `key` is opened with full access and created
    // when it is missing, as the shell's own folder keys are. "" when the key cannot be
    // opened or created, or the subkey or the value is missing. Throws RegistryError when
    // the value exists but is not a string.
    virtual std::string read_string(const std::string& key, const std::string& subkey,
                                    const std::string& name) = 0;
};

}  // namespace tastomat
