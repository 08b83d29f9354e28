#include "ui/screens/guiding/ProjectVerificationResultRules.h"

namespace orva {

guiding::ResultDisplay ProjectVerificationResultRules::result() const
{
    return guiding::verificationResult(isVerified_, hasProjectName_ ? std::optional<QString>(projectName_) : std::nullopt,
                                       hasErrorMessage_ ? std::optional<QString>(errorMessage_) : std::nullopt);
}

} // namespace orva
