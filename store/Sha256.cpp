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

namespace {
constexpr int kDigestSize = 32;
constexpr char kDigits[] = "0123456789abcdef";
} // namespace

void Sha256::Finish(char* hex) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_DigestFinal_ex(context_->ctx, digest, &length);
    for (int i = 0; i < kDigestSize; ++i) {
        *hex++ = kDigits[digest[i] >> 4];
        *hex++ = kDigits[digest[i] & 0xF];
    }
}

QByteArray Sha256::HexResult() {
    QByteArray hex(2 * kDigestSize, Qt::Uninitialized);
    Finish(hex.data());
    return hex;
}

bool Sha256::ResultIs(QByteArrayView hex) {
    char made[2 * kDigestSize];
    Finish(made);
    return hex == QByteArrayView(made, sizeof made);
}

QByteArray Sha256Hex(QByteArrayView bytes) {
    thread_local Sha256 hash;
    hash.Reset();
    hash.Add(bytes);
    return hash.HexResult();
}

} // namespace store
