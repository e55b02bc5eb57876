#include "carve/sha256.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/carve/carve_test_files.h"
#include "tests/support/temp_dir.h"

namespace qf {
namespace {

std::string digest(const std::string& text) {
  Sha256 h;
  h.update(text.data(), text.size());
  return h.hex_digest();
}

// The FIPS 180-4 example messages and their published digests.
TEST(Sha256, KnownVectors) {
  EXPECT_EQ(digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  Sha256 million;
  const std::string a(1000, 'a');
  for (int i = 0; i < 1000; ++i) million.update(a.data(), a.size());
  EXPECT_EQ(million.hex_digest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PiecesAndPaddingEdges) {
  // 55, 56 and 64 bytes sit at the padding's boundaries; pieces of odd
  // lengths must give the same digest as one update.
  for (std::size_t n : {55u, 56u, 63u, 64u, 65u, 1000u}) {
    const auto bytes = test::patterned_bytes(n);
    Sha256 whole;
    whole.update(bytes.data(), n);
    Sha256 pieces;
    for (std::size_t i = 0; i < n; i += 7) pieces.update(bytes.data() + i, std::min<std::size_t>(7, n - i));
    EXPECT_EQ(whole.hex_digest(), pieces.hex_digest()) << n;
  }
  test::TempDir dir;
  test::write_file(dir.file("abc"), {'a', 'b', 'c'});
  EXPECT_EQ(sha256_of_file(dir.file("abc")), digest("abc"));
  EXPECT_EQ(sha256_of_file(dir.file("missing")), "");
}

}  // namespace
}  // namespace qf
