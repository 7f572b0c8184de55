#include "core/label_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string storedChars(const TState& s, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(s.labelChars()), n);
}

TEST(RecLabel, ShorterLabelKeepsTheTailOfTheEarlierOne) {
    TState s;
    SetRecLabel(s, u"Hello World");
    SetRecLabel(s, u"Hi");
    EXPECT_EQ(s.labelLength(), 2);
    EXPECT_EQ(storedChars(s, 11), "Hillo World");
    EXPECT_EQ(storedChars(s, 100).substr(11), std::string(89, '\0'));
    EXPECT_EQ(RecLabelText(s), u"Hi");
}

TEST(RecLabel, EmptyLabelStoresLengthZeroAndTouchesNoCharacter) {
    TState s;
    SetRecLabel(s, u"abc");
    SetRecLabel(s, u"");
    EXPECT_EQ(s.labelLength(), 0);
    EXPECT_EQ(storedChars(s, 3), "abc");
    EXPECT_EQ(RecLabelText(s), u"");
}

TEST(RecLabel, LongLabelIsCutToTheHundredBytesOfTheField) {
    std::u16string text;
    for (int i = 0; i < 150; ++i) text.push_back(static_cast<char16_t>(u'A' + i % 26));
    TState s;
    SetRecLabel(s, text);
    EXPECT_EQ(s.labelLength(), 100);
    EXPECT_EQ(RecLabelText(s), text.substr(0, 100));
    // Nothing after the label field changes.
    TState untouched;
    untouched.bytes.fill(0xEE);
    TState written = untouched;
    SetRecLabel(written, text);
    EXPECT_TRUE(std::equal(written.bytes.begin() + TStateLayout::Action, written.bytes.end(),
                           untouched.bytes.begin() + TStateLayout::Action));
}

TEST(RecLabel, VeryLongInputOfSurrogatePairsStillFillsTheField) {
    std::u16string text;
    for (int i = 0; i < 1000; ++i) text += u"\U0001F600";
    TState s;
    SetRecLabel(s, text);
    EXPECT_EQ(s.labelLength(), 100);
    EXPECT_EQ(storedChars(s, 100), std::string(100, '?'));
}

struct EncodeCase {
    const char* name;
    std::u16string text;
    std::string bytes;
};

void PrintTo(const EncodeCase& c, std::ostream* os) {
    *os << c.name;
}

class RecLabelEncodingTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(RecLabelEncodingTest, StoresTheCodePageByteOrASimilarCharacterOrQuestionMark) {
    const EncodeCase& c = GetParam();
    TState s;
    SetRecLabel(s, c.text);
    ASSERT_EQ(s.labelLength(), c.bytes.size());
    EXPECT_EQ(storedChars(s, c.bytes.size()), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, RecLabelEncodingTest,
    testing::Values(EncodeCase{"Ascii", u"Orbit 1", "Orbit 1"},
                    EncodeCase{"LatinOne", u"caf\u00E9 \u00DF", "caf\xE9 \xDF"},
                    EncodeCase{"EuroSignInTheCodePage", u"5\u20AC", "5\x80"},
                    EncodeCase{"UndefinedBytesAsC1Controls", u"\u0081\u008D\u008F\u0090\u009D",
                               "\x81\x8D\x8F\x90\x9D"},
                    EncodeCase{"AccentedLetterBecomesItsBase", u"Erd\u0151s", "Erdos"},
                    EncodeCase{"MacronBecomesItsBase", u"\u0100", "A"},
                    EncodeCase{"StrokedLetterTransliterated", u"\u0141\u00F3d\u017A",
                               "L\xF3"
                               "dz"},
                    EncodeCase{"DotlessI", u"\u0131", "i"}, EncodeCase{"FullWidthLetter", u"\uFF21", "A"},
                    EncodeCase{"CjkCharacter", u"a\u4E2Db", "a?b"},
                    EncodeCase{"NotEqualKeepsItsMeaning", u"\u2260", "?"},
                    EncodeCase{"LigatureWithoutSingleSimilarCharacter", u"\uFB01", "?"},
                    EncodeCase{"SurrogatePairIsOneCharacter", u"a\U0001F600b", "a?b"},
                    EncodeCase{"LoneHighSurrogate", std::u16string{u'a', 0xD83D, u'b'}, "a?b"},
                    EncodeCase{"LoneLowSurrogate", std::u16string{u'a', 0xDE00}, "a?"}),
    [](const testing::TestParamInfo<EncodeCase>& p) { return std::string(p.param.name); });

TEST(RecLabel, EveryByteReadsAsACharacterThatConvertsBackToIt) {
    TState s;
    s.setLabelLength(100);
    for (int first = 0; first < 256; first += 100) {
        for (int i = 0; i < 100; ++i) s.labelChars()[i] = static_cast<std::uint8_t>((first + i) % 256);
        const TState original = s;
        SetRecLabel(s, RecLabelText(original));
        EXPECT_EQ(s, original) << "bytes from " << first;
    }
}

TEST(RecLabel, ReadsCodePageCharacters) {
    TState s;
    const std::uint8_t bytes[] = {0x80, 0x81, 0x9F, 0xE9, 0x41};
    std::copy(std::begin(bytes), std::end(bytes), s.labelChars());
    s.setLabelLength(5);
    EXPECT_EQ(RecLabelText(s), u"\u20AC\u0081\u0178\u00E9A");
}

TEST(RecLabel, DamagedLengthByteIsReadAsTheFieldCapacity) {
    TState s;
    s.bytes.fill('z');
    for (std::size_t i = 0; i < 100; ++i) s.labelChars()[i] = 'a';
    s.setLabelLength(200);
    EXPECT_EQ(RecLabelText(s), std::u16string(100, u'a'));
}

}  // namespace
