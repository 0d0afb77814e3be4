// The six answer flags of recovery's "File already exists" question and the
// free names proposed beside an existing file.
#include "RecoveryClashAnswers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr ClashButton kButtons[] = {ClashButton::Skip,      ClashButton::SkipAll,
                                    ClashButton::Rename,    ClashButton::RenameAll,
                                    ClashButton::OverWrite, ClashButton::OverWriteAll};

struct AnswerCase {
  ClashButton m_button;
  ClashAction m_standing; // what the next clash does without asking
  ClashAction m_last;     // what this clash does
};

class ClashAnswerTable : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(ClashAnswerTable, EachButtonSetsOnlyItsOwnFlag) {
  RecoveryClashAnswers answers;
  // Whatever was answered before is replaced.
  for (ClashButton before : kButtons) {
    answers.Choose(before);
    answers.Choose(GetParam().m_button);
    for (ClashButton button : kButtons) EXPECT_EQ(answers.IsSet(button), button == GetParam().m_button);
    EXPECT_EQ(answers.Standing(), GetParam().m_standing);
    EXPECT_EQ(answers.LastAnswer(), GetParam().m_last);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ClashAnswerTable,
    ::testing::Values(AnswerCase{ClashButton::Skip, ClashAction::Ask, ClashAction::Skip},
                      AnswerCase{ClashButton::SkipAll, ClashAction::Skip, ClashAction::Skip},
                      AnswerCase{ClashButton::Rename, ClashAction::Ask, ClashAction::Rename},
                      AnswerCase{ClashButton::RenameAll, ClashAction::Rename, ClashAction::Rename},
                      AnswerCase{ClashButton::OverWrite, ClashAction::Ask, ClashAction::OverWrite},
                      AnswerCase{ClashButton::OverWriteAll, ClashAction::OverWrite, ClashAction::OverWrite}));

TEST(ClashAnswers, ANewRunAsksAgainAfterAnAllAnswer) {
  RecoveryClashAnswers answers;
  EXPECT_EQ(answers.Standing(), ClashAction::Ask);
  answers.Choose(ClashButton::OverWriteAll);
  answers.Reset();
  EXPECT_EQ(answers.Standing(), ClashAction::Ask);
  for (ClashButton button : kButtons) EXPECT_FALSE(answers.IsSet(button));
}

std::string Narrow(const std::u16string &text) {
  return std::string(text.begin(), text.end());
}

TEST(ProposeFreeName, NumbersBeforeTheLastDotAndSkipsTakenNumbers) {
  const struct {
    const char16_t *m_path;
    std::set<std::u16string> m_taken;
    const char *m_proposal;
  } cases[] = {
      {u"C:\\Out\\a.txt", {}, "C:\\Out\\a (1).txt"},
      {u"C:\\Out\\a.txt", {u"C:\\Out\\a (1).txt", u"C:\\Out\\a (2).txt"}, "C:\\Out\\a (3).txt"},
      {u"C:\\Out\\archive.tar.gz", {}, "C:\\Out\\archive.tar (1).gz"},
      {u"C:\\Out\\README", {}, "C:\\Out\\README (1)"},
      {u"C:\\Out\\.profile", {}, "C:\\Out\\.profile (1)"},
      {u"C:\\Out.d\\noext", {}, "C:\\Out.d\\noext (1)"},
  };
  for (const auto &c : cases) {
    auto exists = [&c](const std::u16string &path) { return c.m_taken.count(path) != 0; };
    EXPECT_EQ(Narrow(ProposeFreeName(c.m_path, exists)), c.m_proposal) << Narrow(c.m_path);
  }
}

// A name at or near the longest Windows allows still gets a proposal it can
// create: the name gives way for the number, the extension stays.
TEST(ProposeFreeName, LongNamesAreCutSoTheNumberFits) {
  for (size_t length = 250; length <= 255; ++length) {
    const std::u16string name = std::u16string(length - 4, u'n') + u".txt";
    const std::u16string proposal =
        ProposeFreeName(u"C:\\Out\\" + name, [](const std::u16string &) { return false; });
    const std::u16string proposedName = proposal.substr(7);
    EXPECT_EQ(proposal.substr(0, 7), u"C:\\Out\\") << length;
    EXPECT_LE(proposedName.size(), 255u) << length;
    EXPECT_EQ(Narrow(proposedName.substr(proposedName.size() - 8)), " (1).txt") << length;
    if (length >= 252) EXPECT_EQ(proposedName.size(), 255u) << length;
  }
  // Ten copies later the number is a unit longer and the name shorter again.
  const std::u16string name = std::u16string(251, u'n') + u".txt";
  std::set<std::u16string> taken;
  for (int n = 1; n <= 9; ++n)
    taken.insert(ProposeFreeName(u"C:\\Out\\" + name,
                                 [&taken](const std::u16string &p) { return taken.count(p) != 0; }));
  const std::u16string tenth =
      ProposeFreeName(u"C:\\Out\\" + name, [&taken](const std::u16string &p) { return taken.count(p) != 0; });
  EXPECT_EQ(tenth.size() - 7, 255u);
  EXPECT_EQ(Narrow(tenth.substr(tenth.size() - 9)), " (10).txt");
}

TEST(ProposeFreeName, GivesUpWhenEveryNumberIsTaken) {
  EXPECT_TRUE(ProposeFreeName(u"C:\\a.txt", [](const std::u16string &) { return true; }).empty());
}

} // namespace
