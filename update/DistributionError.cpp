#include "update/DistributionError.h"

namespace meridavolt {

const char* DistributionError::what() const noexcept
{
    return case_ == invalidSignature ? "invalidSignature" : "invalidRelease";
}

}  // namespace meridavolt
