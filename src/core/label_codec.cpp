#include "core/label_codec.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {

constexpr std::size_t MaxConvertedUnits = 255;

// The label code page, set up once: the program converts labels on its one UI thread only.
class Windows1252 {
public:
    static Windows1252& instance() {
        static Windows1252 codePage;
        return codePage;
    }

    char16_t decode(std::uint8_t b) const { return decodeTable_[b]; }

    std::uint8_t encode(UChar32 c) {
        if (U_IS_SURROGATE(c)) return '?';
        if (auto b = direct(c)) return *b;
        if (auto b = baseLetter(c)) return *b;
        if (auto b = transliterated(c)) return *b;
        return '?';
    }

private:
    struct ConverterClose {
        void operator()(UConverter* c) const { ucnv_close(c); }
    };

    Windows1252() {
        UErrorCode err = U_ZERO_ERROR;
        converter_.reset(ucnv_open("windows-1252", &err));
        if (U_FAILURE(err)) throw std::runtime_error(CodePageMissingText);
        ucnv_setFromUCallBack(converter_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        ucnv_setToUCallBack(converter_.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        // Fallback mappings are the converter's own similar characters (a full-width A becomes A).
        ucnv_setFallback(converter_.get(), true);
        for (int b = 0; b < 256; ++b) {
            const char in = static_cast<char>(b);
            UChar out[2];
            err = U_ZERO_ERROR;
            const int n = ucnv_toUChars(converter_.get(), out, 2, &in, 1, &err);
            // A byte the code page leaves undefined reads as the C1 control of the same value.
            decodeTable_[b] = U_SUCCESS(err) && n == 1 ? out[0] : static_cast<char16_t>(b);
        }
    }

    std::optional<std::uint8_t> direct(UChar32 c) {
        UChar in[2];
        std::int32_t len = 0;
        U16_APPEND_UNSAFE(in, len, c);
        char out[4];
        UErrorCode err = U_ZERO_ERROR;
        const int n = ucnv_fromUChars(converter_.get(), out, sizeof out, in, len, &err);
        if (U_FAILURE(err) || n != 1) return std::nullopt;
        return static_cast<std::uint8_t>(out[0]);
    }

    // The letter under the accents: ő is o with a double acute. An overlay mark (≠ is = with a stroke)
    // changes the meaning, so such a character has no similar one here.
    std::optional<std::uint8_t> baseLetter(UChar32 c) {
        UErrorCode err = U_ZERO_ERROR;
        const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(err);
        icu::UnicodeString decomposition;
        if (U_FAILURE(err) || !nfd->getDecomposition(c, decomposition)) return std::nullopt;
        const UChar32 base = decomposition.char32At(0);
        for (std::int32_t i = U16_LENGTH(base); i < decomposition.length();
             i = decomposition.moveIndex32(i, 1))
            if (u_getCombiningClass(decomposition.char32At(i)) == 1) return std::nullopt;
        if (base == c) return std::nullopt;
        return direct(base);
    }

    // Letters without a decomposition (Ł, đ, ı) have a plain Latin form; only a single character counts as
    // similar.
    std::optional<std::uint8_t> transliterated(UChar32 c) {
        if (!latinAscii_ && !transliteratorFailed_) {
            UErrorCode err = U_ZERO_ERROR;
            latinAscii_.reset(icu::Transliterator::createInstance("Latin-ASCII", UTRANS_FORWARD, err));
            if (U_FAILURE(err)) {
                latinAscii_.reset();
                transliteratorFailed_ = true;
            }
        }
        if (!latinAscii_) return std::nullopt;
        icu::UnicodeString s(c);
        latinAscii_->transliterate(s);
        if (s.countChar32() != 1 || s.char32At(0) == c) return std::nullopt;
        return direct(s.char32At(0));
    }

    std::unique_ptr<UConverter, ConverterClose> converter_;
    std::unique_ptr<icu::Transliterator> latinAscii_;
    bool transliteratorFailed_ = false;
    std::array<char16_t, 256> decodeTable_{};
};

}  // namespace

void SetRecLabel(TState& state, std::u16string_view text) {
    Windows1252& codePage = Windows1252::instance();
    // Only the first 255 code units are converted; a pair cut in half leaves a lone surrogate, which reads
    // '?'.
    text = text.substr(0, std::min(text.size(), MaxConvertedUnits));
    std::array<std::uint8_t, MaxConvertedUnits> converted{};
    std::size_t length = 0;
    const auto* units = reinterpret_cast<const UChar*>(text.data());
    const auto count = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < count;) {
        UChar32 c;
        U16_NEXT(units, i, count, c);
        converted[length++] = codePage.encode(c);
    }
    const std::size_t stored = std::min(length, TStateLayout::LabelCapacity);
    state.setLabelLength(static_cast<std::uint8_t>(stored));
    std::copy_n(converted.begin(), stored, state.labelChars());
}

std::u16string RecLabelText(const TState& state) {
    const Windows1252& codePage = Windows1252::instance();
    // A damaged record may say more than the field holds.
    const std::size_t length = std::min<std::size_t>(state.labelLength(), TStateLayout::LabelCapacity);
    std::u16string text;
    text.reserve(length);
    for (std::size_t i = 0; i < length; ++i) text.push_back(codePage.decode(state.labelChars()[i]));
    return text;
}
