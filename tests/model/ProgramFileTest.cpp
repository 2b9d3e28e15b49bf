#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ProgramFileSamples.h"
#include "model/ParameterImage.h"
#include "model/ProgramFile.h"

namespace orvane {
namespace {

using Name = std::array<std::uint8_t, kProgramNameBytes>;

Name nameOf(std::string_view text) {
  Name name{};
  std::copy(text.begin(), text.end(), name.begin());
  return name;
}

// An image whose locks show what a load must keep: every flag and the
// password "123456" set before.
void presetLocks(ParameterImage& image) {
  image.modify([](ImageData& d) {
    d.locks.bytes.fill(1);
    std::copy_n("123456", 6, d.locks.bytes.begin() + 48);
  });
}

TEST(ProgramFile, ASignedFileLoadsIntoTheBlocksNameAndFunctionLocks) {
  ParameterImage image;
  presetLocks(image);
  const auto file = ProgramFile::readOne(oneProgramFile("7304.1"), 7304);
  ASSERT_TRUE(file);
  ProgramFile::applyOne(image, *file);
  image.read([](const ImageData& d) {
    EXPECT_EQ(d.currentProgramName, nameOf("Hall A"));
    for (Side side : {Side::Input, Side::Output})
      for (int c = 0; c < kChannels; ++c)
        for (std::size_t i = 0; i < blockSize(side); ++i) {
          EXPECT_EQ(d.edited.block(side, c)[i], blockByte(side, c, i)) << int(side) << c << " " << i;
          EXPECT_EQ(d.device.block(side, c)[i], blockByte(side, c, i)) << int(side) << c << " " << i;
        }
    for (std::size_t k = 0; k < 54; ++k) {
      EXPECT_EQ(d.locks.bytes[k], k < 32 ? fileLock(k) : k < 48 ? 1 : "123456"[k - 48]) << k;
      if (k < 48) {
        EXPECT_EQ(d.locks.deviceLock[k], k < 32 ? fileLock(k) : 0) << k;
      }
    }
  });
}

// Lock bytes of a file are flags: any byte other than zero locks and is
// kept as 1 in both lock copies, so every flag of the image stays 0 or 1.
TEST(ProgramFile, LockBytesOtherThanZeroOrOneLoadAsFlags) {
  Bytes file = oneProgramFile("7304.1");
  const std::size_t locksAt = file.size() - 54;
  const std::array<std::uint8_t, 4> odd{2, 0xFF, 0x80, 0};
  for (std::size_t k = 0; k < 32; ++k) file[locksAt + k] = odd[k % odd.size()];
  ParameterImage image;
  const auto program = ProgramFile::readOne(file, 7304);
  ASSERT_TRUE(program);
  ProgramFile::applyOne(image, *program);
  image.read([&](const ImageData& d) {
    for (std::size_t k = 0; k < 32; ++k) {
      const std::uint8_t flag = odd[k % odd.size()] != 0;
      EXPECT_EQ(d.locks.bytes[k], flag) << k;
      EXPECT_EQ(d.locks.deviceLock[k], flag) << k;
    }
  });
}

TEST(ProgramFile, WritesTheSignedFormsOfEitherModel) {
  ParameterImage image;
  image.modify([&](ImageData& d) {
    d.currentProgramName = nameOf("Hall A");
    for (Side side : {Side::Input, Side::Output})
      for (int c = 0; c < kChannels; ++c)
        for (std::size_t i = 0; i < blockSize(side); ++i) d.edited.block(side, c)[i] = blockByte(side, c, i);
    for (std::size_t k = 0; k < 54; ++k) d.locks.bytes[k] = fileLock(k);
    for (int p = 1; p <= kPrograms; ++p) std::ranges::copy(programRecord(p), d.programs[p - 1].begin());
  });
  for (auto [model, signature] : {std::pair{7304, "7304.1"}, std::pair{736, "736.1"}}) {
    Bytes one = oneProgramFile(signature);
    std::fill(one.end() - 6, one.end(), ' ');  // no password in a file
    EXPECT_EQ(ProgramFile::writeOne(image, model), one) << model;
    EXPECT_EQ(ProgramFile::writeAll(image, model), allProgramsFile(signature)) << model;
  }
  // Reading the signed or unsigned form gives the store back whole.
  const auto programs = [](const ImageData& d) { return d.programs; };
  for (const Bytes& file : {allProgramsFile("7304.1"), allProgramsFile("")}) {
    ParameterImage other;
    ProgramFile::applyAll(other, *ProgramFile::readAll(file, 7304));
    EXPECT_EQ(other.read(programs), image.read(programs));
  }
  EXPECT_EQ(oneProgramFile("7304.1").size() + allProgramsFile("736.1").size(), 1933u + 56526u);
}

// A program file is shared between sites and people: it never carries the
// device's password. Where a file holds the six password characters (lock
// bytes 48..53 of a one-program file, bytes 6..11 of each record's lock
// packet), six blanks are written; the flags beside them and the image's
// own password stay as they are.
TEST(ProgramFile, WrittenFilesHoldBlanksWhereThePasswordWas) {
  ParameterImage image;
  image.modify([](ImageData& d) {
    d.locks.bytes.fill(1);
    std::copy_n("SECRET", 6, d.locks.bytes.begin() + 48);
    for (ProgramRecord& record : d.programs) {
      std::fill_n(record.begin() + 1872, 6, 0xFF);      // the packed flags
      std::copy_n("SECRET", 6, record.begin() + 1878);  // the password
    }
  });
  const Bytes blanks(6, 0x20);
  const Bytes flags(6, 0xFF);
  const auto at = [](const Bytes& file, std::size_t offset) {
    const auto from = file.begin() + static_cast<std::ptrdiff_t>(offset);
    return Bytes(from, from + 6);
  };
  const struct {
    int model;
    std::size_t oneSize, onePassword;  // lock bytes from 1 + n + 16 + 960 + 896 (n: the signature's length)
    std::size_t allSize, firstRecord;  // records from 1 + n, 1884 bytes each
  } cases[] = {
      {7304, 1933, 1879 + 48, 56527, 7},
      {736, 1932, 1878 + 48, 56526, 6},
  };
  for (const auto& c : cases) {
    const Bytes one = ProgramFile::writeOne(image, c.model);
    ASSERT_EQ(one.size(), c.oneSize) << c.model;
    EXPECT_EQ(one[c.onePassword - 1], 1) << c.model;  // lock byte 47, the last flag
    EXPECT_EQ(at(one, c.onePassword), blanks) << c.model;
    EXPECT_EQ(c.onePassword + 6, one.size()) << c.model;  // the password closes the file
    const Bytes all = ProgramFile::writeAll(image, c.model);
    ASSERT_EQ(all.size(), c.allSize) << c.model;
    for (int p = 0; p < kPrograms; ++p) {
      const std::size_t packet = c.firstRecord + static_cast<std::size_t>(p) * 1884 + 1872;
      EXPECT_EQ(at(all, packet), flags) << c.model << " program " << p + 1;       // packet bytes 0..5
      EXPECT_EQ(at(all, packet + 6), blanks) << c.model << " program " << p + 1;  // packet bytes 6..11
    }
    EXPECT_EQ(at(all, c.allSize - 6), blanks) << c.model;  // program 30's password closes the file
  }
  image.read([](const ImageData& d) {
    EXPECT_EQ(std::string(d.locks.bytes.begin() + 48, d.locks.bytes.end()), "SECRET");
    EXPECT_EQ(std::string(d.programs[29].begin() + 1878, d.programs[29].end()), "SECRET");
  });
}

TEST(ProgramFile, AcceptsItsOwnSignatureAndTheUnsignedFormOnlyFor7304) {
  const struct {
    const char* what;
    Bytes head;
    bool contents;
    Bytes tail;
    bool by7304, by736;
  } cases[] = {
      {"7304 signed", {6, '7', '3', '0', '4', '.', '1'}, true, {}, true, false},
      {"736 signed", {5, '7', '3', '6', '.', '1'}, true, {}, false, true},
      {"unsigned", {}, true, {}, true, false},
      {"one byte too many", {6, '7', '3', '0', '4', '.', '1'}, true, {0}, false, false},
      {"unsigned, one byte too many", {}, true, {0}, false, false},
      {"16-bit length", {255, 6, 0, '7', '3', '0', '4', '.', '1'}, true, {}, false, false},
      {"32-bit length", {255, 255, 255, 6, 0, 0, 0, '7', '3', '0', '4', '.', '1'}, true, {}, false, false},
      {"16-bit length past the end", {255, 0xFE, 0xFF}, true, {}, false, false},
      {"32-bit length past the end", {255, 255, 255, 255, 255, 255, 255}, true, {}, false, false},
      {"ends within the 16-bit length", {255, 6}, false, {}, false, false},
      {"ends within the 32-bit length", {255, 255, 255, 6, 0}, false, {}, false, false},
      {"short length past the end", {200, '7', '3'}, false, {}, false, false},
  };
  for (const auto& c : cases) {
    for (const bool one : {true, false}) {
      Bytes file = c.head;
      if (c.contents)
        std::ranges::copy(one ? oneProgramFile("") : allProgramsFile(""), std::back_inserter(file));
      file.insert(file.end(), c.tail.begin(), c.tail.end());
      for (const int model : {7304, 736}) {
        const bool accepted = one ? ProgramFile::readOne(file, model).has_value()
                                  : ProgramFile::readAll(file, model) != nullptr;
        EXPECT_EQ(accepted, model == 7304 ? c.by7304 : c.by736)
            << c.what << (one ? ", one by " : ", all by ") << model;
      }
    }
  }
}

TEST(ProgramFile, EveryFileThatEndsEarlyIsRefusedAndChangesNothing) {
  ParameterImage image;
  presetLocks(image);
  const auto before = image.read([](const ImageData& d) { return std::pair{d.edited, d.locks.bytes}; });
  for (auto [model, signature] : {std::pair{7304, "7304.1"}, std::pair{736, "736.1"}}) {
    const Bytes one = oneProgramFile(signature);
    for (std::size_t n = 0; n < one.size(); ++n) {
      const auto file = ProgramFile::readOne(std::span(one).first(n), model);
      EXPECT_FALSE(file) << model << " cut at " << n;
      if (file) ProgramFile::applyOne(image, *file);
    }
    const Bytes all = allProgramsFile(signature);
    for (std::size_t n = 0; n < all.size(); ++n)
      EXPECT_FALSE(ProgramFile::readAll(std::span(all).first(n), model)) << model << " cut at " << n;
  }
  EXPECT_EQ(image.read([](const ImageData& d) { return std::pair{d.edited, d.locks.bytes}; }), before);
}

TEST(ProgramFile, ProgramNameFromTheFileName) {
  const struct {
    std::string fileName;
    std::string_view name;
  } cases[] = {
      {"ConferenceRoomA.dia1j", "Conferenc"},  // nine bytes at most
      {"Main.dia1j", "Main"},
      {"Hall.dia1j.bak", "Hall.dia"},    // 14 bytes less six, whatever the extension
      {"A会议室.dia1j", "PC PRO"},       // GBK BB E1 D2 E9 CA D2
      {"ABCDEFGH会.dia1j", "ABCDEFGH"},  // half a character is not kept
      {"x.dia1", ""},
      {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ProgramFile::nameFromFileName(c.fileName), nameOf(c.name)) << c.fileName;
}

}  // namespace
}  // namespace orvane
