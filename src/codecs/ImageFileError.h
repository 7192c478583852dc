#pragma once
// The one error every image reader raises for a file it cannot decode: an
// unreadable file, a wrong signature, truncated or inconsistent data. The
// message shown to the user is always the program's fixed text; detail()
// keeps the precise reason for logs and tests.
#include <stdexcept>
#include <string>

namespace px {

class InvalidImageError : public std::runtime_error {
public:
    static constexpr const char* kMessage = "Le fichier est un fichier image non valide.";

    InvalidImageError() : std::runtime_error(kMessage) {}
    // The user message stays kMessage; `detail` says what was wrong.
    explicit InvalidImageError(std::string detail) : std::runtime_error(kMessage), detail_(std::move(detail)) {}

    const std::string& detail() const { return detail_; }

private:
    std::string detail_;
};

} // namespace px
