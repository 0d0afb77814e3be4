// The English texts of the benchmark programs (tools/make-english-texts.py
// over the program's resource script and header): every text id the engine
// logs or shows has its text, so no program built without the resources
// prints an id such as #61481 where the user's words belong.
#include "../bench/BenchServices.h"

#include "EngineText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

namespace {

// Every id EngineText.h declares, read from the header itself so that an id
// added there is checked without a list to keep in step.
std::set<uint32_t> EngineTextIds() {
  std::ifstream in(QV_ENGINE_TEXT_HEADER);
  std::set<uint32_t> ids;
  std::string line;
  const std::string declaration = "constexpr uint32_t k";
  while (std::getline(in, line)) {
    if (line.rfind(declaration, 0) != 0) continue;
    const size_t equals = line.find('=');
    if (equals != std::string::npos) ids.insert(static_cast<uint32_t>(std::stoul(line.substr(equals + 1))));
  }
  return ids;
}

TEST(EnglishTextsTest, EveryEngineTextIdHasItsEnglishText) {
  const std::set<uint32_t> ids = EngineTextIds();
  ASSERT_GE(ids.size(), 40u) << "EngineText.h not read from " << QV_ENGINE_TEXT_HEADER;
  BenchServices services;
  for (uint32_t id : ids) {
    const std::u16string text = services.LoadText(id);
    EXPECT_FALSE(text.empty()) << id;
    EXPECT_NE(text.front(), u'#') << "no English text for id " << id;
  }
}

// The defines with a note after them ("// engine: ...") are read like the
// others: these are among the texts the benchmark programs printed as ids.
TEST(EnglishTextsTest, DefinesWithATrailingCommentAreRead) {
  BenchServices services;
  EXPECT_EQ(services.LoadText(EngineText::kRecordSkipped), u"MFT record %s skipped:");
  EXPECT_EQ(services.LoadText(EngineText::kErrorReadingSectors), u"Error reading sectors :");
  EXPECT_EQ(services.LoadText(EngineText::kScanFileDamaged).rfind(u"The scan file %s is damaged.", 0), 0u);
}

} // namespace
