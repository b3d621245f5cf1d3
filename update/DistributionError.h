#pragma once

#include <stdexcept>

namespace meridavolt {

// The two failures the update code raises itself. They carry no text: the
// update flow turns every failure into one fixed message.
class DistributionError : public std::exception {
public:
    enum Case { invalidSignature, invalidRelease };

    explicit DistributionError(Case value) : case_(value) {}
    Case value() const { return case_; }
    const char* what() const noexcept override;

    friend bool operator==(const DistributionError& a, const DistributionError& b) { return a.case_ == b.case_; }

private:
    Case case_;
};

// A JSON text that does not decode into the expected record: not JSON, a
// missing key, a value of the wrong type, or a byte field that is not base64.
class DistributionDecodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raw key bytes that the crypto library refuses as an Ed25519 public key.
class InvalidPublicKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace meridavolt
