#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <filesystem>
#include <memory>
#include <string>

namespace meridavolt::testing {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateFree {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
using Certificate = std::unique_ptr<X509, CertificateFree>;

// A throw-away certificate authority and one server certificate it signed for
// a host name, made fresh for each test run.
class TestCertificates {
public:
    // Writes the authority's certificate as PEM to authorityFile.
    TestCertificates(const std::string& serverHost, const std::filesystem::path& authorityFile);

    const std::filesystem::path& authorityFile() const { return authorityFile_; }
    EVP_PKEY* serverKey() const { return serverKey_.get(); }
    X509* serverCertificate() const { return serverCertificate_.get(); }

private:
    std::filesystem::path authorityFile_;
    Key authorityKey_;
    Certificate authority_;
    Key serverKey_;
    Certificate serverCertificate_;
};

}  // namespace meridavolt::testing
