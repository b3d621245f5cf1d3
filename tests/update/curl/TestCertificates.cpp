#include "TestCertificates.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <stdexcept>

namespace meridavolt::testing {

namespace {

void require(bool condition, const char* what)
{
    if (!condition) throw std::runtime_error(std::string("test certificate: ") + what);
}

Key makeKey()
{
    Key key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
    require(key != nullptr, "key generation");
    return key;
}

void addExtension(X509* certificate, X509* issuer, int nid, const char* value)
{
    X509V3_CTX context;
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
    require(extension != nullptr, value);
    X509_add_ext(certificate, extension, -1);
    X509_EXTENSION_free(extension);
}

Certificate makeCertificate(EVP_PKEY* key, const std::string& commonName, long serial)
{
    Certificate certificate(X509_new());
    X509_set_version(certificate.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(certificate.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(certificate.get()), 24 * 3600);
    X509_set_pubkey(certificate.get(), key);
    X509_NAME_add_entry_by_txt(X509_get_subject_name(certificate.get()), "CN", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
    return certificate;
}

}  // namespace

TestCertificates::TestCertificates(const std::string& serverHost, const std::filesystem::path& authorityFile)
    : authorityFile_(authorityFile), authorityKey_(makeKey()), serverKey_(makeKey())
{
    authority_ = makeCertificate(authorityKey_.get(), "MERIDAVOLT test authority", 1);
    X509_set_issuer_name(authority_.get(), X509_get_subject_name(authority_.get()));
    addExtension(authority_.get(), authority_.get(), NID_basic_constraints, "critical,CA:TRUE");
    addExtension(authority_.get(), authority_.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
    addExtension(authority_.get(), authority_.get(), NID_subject_key_identifier, "hash");
    require(X509_sign(authority_.get(), authorityKey_.get(), EVP_sha256()) > 0, "authority signature");

    serverCertificate_ = makeCertificate(serverKey_.get(), serverHost, 2);
    X509_set_issuer_name(serverCertificate_.get(), X509_get_subject_name(authority_.get()));
    addExtension(serverCertificate_.get(), authority_.get(), NID_basic_constraints, "critical,CA:FALSE");
    addExtension(serverCertificate_.get(), authority_.get(), NID_key_usage, "critical,digitalSignature");
    addExtension(serverCertificate_.get(), authority_.get(), NID_ext_key_usage, "serverAuth");
    addExtension(serverCertificate_.get(), authority_.get(), NID_subject_alt_name, ("DNS:" + serverHost).c_str());
    addExtension(serverCertificate_.get(), authority_.get(), NID_authority_key_identifier, "keyid");
    require(X509_sign(serverCertificate_.get(), authorityKey_.get(), EVP_sha256()) > 0, "server signature");

    FILE* file = std::fopen(authorityFile_.c_str(), "w");
    require(file != nullptr, "authority file");
    PEM_write_X509(file, authority_.get());
    std::fclose(file);
}

}  // namespace meridavolt::testing
