// SHA-1 against published vectors, the iterated digest, and the password's
// rule built on it.
#include "digest/sha1.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "digest/password_digests.h"

namespace dayledger {
namespace {

std::string Hex(SHA1& sha) {
  uint32_t words[5];
  if (!sha.GetDigest(words).ok()) return "failed";
  char hex[41];
  for (int i = 0; i < 5; ++i) std::snprintf(hex + 8 * i, 9, "%.8x", words[i]);
  return hex;
}

void Feed(SHA1& sha, const std::string& bytes) {
  sha.AddBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

const struct {
  std::string message;
  const char* digest;
} kPublishedVectors[] = {
    {"abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
    {"", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
    {std::string(1000000, 'a'), "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
};

TEST(SHA1Test, PublishedVectors) {
  for (const auto& v : kPublishedVectors) {
    SHA1 sha;
    Feed(sha, v.message);
    EXPECT_EQ(Hex(sha), v.digest) << v.message.size() << " bytes";
  }
}

// Messages around the padding's edges (a 55-byte message is the longest
// whose length fits in its own block), digests from an independent
// implementation (Python's hashlib) of bytes (i * 7 + 3) % 251.
TEST(SHA1Test, LengthsAroundThePaddingEdges) {
  const struct {
    size_t length;
    const char* digest;
  } cases[] = {
      {55, "8829dc293fb52f1477aa7323310a5bcf949ce4f8"},
      {56, "3c440665799f6f245108a068a11e59507d4f9e2c"},
      {63, "5e2cdca8ef9552e40ad2228153e778e586eebc50"},
      {64, "24d0ab86ac7542b26241687c97b79ae2cc22ac90"},
      {119, "ea44537c014a6f0d332e845ed7f9331ae45440c5"},
      {120, "939b2cbff515552d0bc4cfa0c332a57f9fce7736"},
  };
  for (const auto& c : cases) {
    std::string message;
    for (size_t i = 0; i < c.length; ++i) message.push_back(static_cast<char>((i * 7 + 3) % 251));
    SHA1 sha;
    Feed(sha, message);
    EXPECT_EQ(Hex(sha), c.digest) << c.length << " bytes";
  }
}

TEST(SHA1Test, SplitFeedingAcrossBlockEdgesGivesTheSameDigest) {
  const std::string message = kPublishedVectors[2].message + std::string(100, 'q');
  SHA1 whole;
  Feed(whole, message);
  const std::string expected = Hex(whole);
  for (size_t split : {1u, 55u, 56u, 63u, 64u, 65u, 119u, 128u}) {
    SHA1 sha;
    Feed(sha, message.substr(0, split));
    Feed(sha, message.substr(split));
    EXPECT_EQ(Hex(sha), expected) << "split at " << split;
  }
  SHA1 bytewise;
  for (char c : message) Feed(bytewise, std::string(1, c));
  EXPECT_EQ(Hex(bytewise), expected);
}

TEST(SHA1Test, AddTextStopsAtTheTerminator) {
  SHA1 sha;
  sha.AddText("ab");
  sha.AddText("c");
  EXPECT_EQ(Hex(sha), kPublishedVectors[0].digest);
}

TEST(SHA1Test, FinishedAndFailedFlags) {
  SHA1 sha;
  Feed(sha, "abc");
  EXPECT_FALSE(sha.finished());
  EXPECT_EQ(Hex(sha), kPublishedVectors[0].digest);
  EXPECT_TRUE(sha.finished());
  EXPECT_EQ(Hex(sha), kPublishedVectors[0].digest) << "a finished digest stays fixed";

  sha.AddBytes(nullptr, 0);
  EXPECT_FALSE(sha.failed()) << "adding nothing does nothing";
  Feed(sha, "more");
  EXPECT_TRUE(sha.failed());
  EXPECT_EQ(Hex(sha), "failed");
  Feed(sha, "x");
  EXPECT_TRUE(sha.failed());

  sha.Restart();
  EXPECT_FALSE(sha.failed());
  EXPECT_FALSE(sha.finished());
  EXPECT_EQ(Hex(sha), kPublishedVectors[1].digest);
}

// Chains computed with Python's hashlib over the CP949 bytes of each password.
TEST(IteratedHexDigestTest, MatchesAnIndependentImplementation) {
  const struct {
    std::string password;
    const char* key;     // four steps
    const char* digest;  // five steps
  } cases[] = {
      {"dayledger", "0c8f2366464f7127eedcead66bab60416ac2a09b",
       "3da014062b04055615f50e8720bef7efde4dfbe4"},
      {"\xBA\xF1\xB9\xD0\xB9\xF8\xC8\xA3" /* 비밀번호 in CP949 */,
       "5da94963d5dc948f8e7dfa434a45ecb403939a05", "4e41abe36ae7d16922679f19552f3b5854d6fa82"},
      {"", "3c7435cfd4e31b9be3991041c9a4f8292b752e5b", "63027d7630360e4203c0e3f970ec2ffcfe5f8f1b"},
      {std::string(50, 'x'), "192e43a3bff234b21c2b9f08866b615cae494924",
       "df7f4bfb738821f1a4d6a64c28b31c1f57905955"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IteratedHexDigest(c.password, 4), c.key) << c.password;
    EXPECT_EQ(IteratedHexDigest(c.password, 5), c.digest) << c.password;
    EXPECT_EQ(HexDigest(c.key), c.digest) << "the stored digest is one step past the key";
    // The password's rule as the profile and the unlocked user ask it.
    EXPECT_EQ(DataKeyOf(c.password), c.key) << c.password;
    EXPECT_EQ(StoredDigestOf(c.password), c.digest) << c.password;
  }
}

}  // namespace
}  // namespace dayledger
