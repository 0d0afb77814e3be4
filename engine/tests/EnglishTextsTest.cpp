// The English texts of the benchmark programs (tools/make-english-texts.py
// over the program's resource script and header): every text id the engine
// logs or shows has its text, so no program built without the resources
// prints an id such as #61481 where the user's words belong.
#include "../bench/BenchServices.h"

#include "EngineText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

// Every id EngineText.h declares, read from the header itself so that an id
// added there is checked without a list to keep in step.
std::set<uint32_t> EngineTextIds() {
  std::ifstream in(QV_ENGINE_TEXT_HEADER);
  std::stringstream source;
  source << in.rdbuf();
  const std::string text = source.str();
  const std::regex declaration(R"(constexpr\s+uint32_t\s+k\w+\s*=\s*(\d+)\s*;)");
  std::set<uint32_t> ids;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), declaration); it != std::sregex_iterator(); ++it)
    ids.insert(static_cast<uint32_t>(std::stoul((*it)[1].str())));
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
