#include "store/Sha256.h"

#include <openssl/evp.h>

#include <cstdlib>

namespace store {

namespace {

// Looked up once: fetching the algorithm costs more than hashing a line.
const EVP_MD* Algorithm() {
    static EVP_MD* const md = [] {
        EVP_MD* fetched = EVP_MD_fetch(nullptr, "SHA256", nullptr);
        if (!fetched)
            std::abort(); // a crypto library without SHA-256 cannot keep the log at all
        return fetched;
    }();
    return md;
}

} // namespace

struct Sha256::Context {
    EVP_MD_CTX* ctx = nullptr;
    bool begun = false;
};

Sha256::Sha256() : context_(new Context{EVP_MD_CTX_new()}) {
    if (!context_->ctx)
        std::abort(); // out of memory
    Reset();
}

Sha256::~Sha256() {
    EVP_MD_CTX_free(context_->ctx);
    delete context_;
}

void Sha256::Reset() {
    // After the first, the context is begun anew on the algorithm it has, without giving up
    // and taking memory again.
    EVP_DigestInit_ex2(context_->ctx, context_->begun ? nullptr : Algorithm(), nullptr);
    context_->begun = true;
}

void Sha256::Add(QByteArrayView bytes) {
    EVP_DigestUpdate(context_->ctx, bytes.data(), size_t(bytes.size()));
}

QByteArray Sha256::HexResult() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_->ctx, digest, &length);
    static constexpr char kDigits[] = "0123456789abcdef";
    QByteArray hex(2 * qsizetype(length), Qt::Uninitialized);
    char* out = hex.data();
    for (unsigned int i = 0; i < length; ++i) {
        *out++ = kDigits[digest[i] >> 4];
        *out++ = kDigits[digest[i] & 0xF];
    }
    return hex;
}

QByteArray Sha256Hex(QByteArrayView bytes) {
    thread_local Sha256 hash;
    hash.Reset();
    hash.Add(bytes);
    return hash.HexResult();
}

} // namespace store
