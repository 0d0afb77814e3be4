#include "HeaderRecord.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

HeaderRecord PdfSignature() {
  HeaderRecord r;
  r.m_softwareName = u"Adobe Acrobat";
  r.m_extension = u"PDF";
  r.m_offset = 0;
  r.m_signatureLength = 4;
  const uint8_t pdf[] = {'%', 'P', 'D', 'F'};
  std::copy(pdf, pdf + 4, r.m_signature);
  r.m_selected = 1;
  r.m_predefined = 1;
  r.m_maxSize = 20u << 20;
  r.m_sizeUnit = 0;
  r.m_group = 7;
  return r;
}

TEST(HeaderRecordLayout, FieldsSitAtTheirOffsets) {
  std::vector<uint8_t> bytes(kHeaderRecordSize, 0xCC);
  SerialiseHeaderRecord(PdfSignature(), bytes.data());
  EXPECT_EQ(ReadLe32(&bytes[0]), 0u);
  EXPECT_EQ(ReadLe32(&bytes[4]), 0u);
  EXPECT_EQ(ReadLe16(&bytes[8]), u'A');
  EXPECT_EQ(ReadLe16(&bytes[8 + 2 * 13]), 0) << "name is NUL-terminated";
  EXPECT_EQ(ReadLe16(&bytes[528]), u'P');
  EXPECT_EQ(ReadLe32(&bytes[1048]), 0u);
  EXPECT_EQ(bytes[1052], 4);
  EXPECT_EQ(bytes[1053], '%');
  EXPECT_EQ(bytes[1057], 0);
  EXPECT_EQ(bytes[1061], 1);
  EXPECT_EQ(bytes[1062], 1);
  EXPECT_EQ(bytes[1063], 0);
  EXPECT_EQ(ReadLe32(&bytes[1064]), 20u << 20);
  EXPECT_EQ(bytes[1068], 0);
  EXPECT_EQ(bytes[1069], 7);
  EXPECT_EQ(ReadLe16(&bytes[1070]), 0);
}

TEST(HeaderRecordLayout, RoundTrips) {
  std::vector<uint8_t> bytes(kHeaderRecordSize);
  SerialiseHeaderRecord(PdfSignature(), bytes.data());
  HeaderRecord back;
  ASSERT_EQ(ParseHeaderRecord(bytes.data(), bytes.size(), back), ParseResult::Ok);
  EXPECT_TRUE(back == PdfSignature());
}

TEST(HeaderRecordLayout, OutOfRangeFieldsAndShortInputAreCorrupt) {
  std::vector<uint8_t> bytes(kHeaderRecordSize);
  SerialiseHeaderRecord(PdfSignature(), bytes.data());
  HeaderRecord back;
  EXPECT_EQ(ParseHeaderRecord(bytes.data(), kHeaderRecordSize - 1, back), ParseResult::Corrupt);
  auto badOffset = bytes;
  WriteLe32(&badOffset[1048], 512);
  EXPECT_EQ(ParseHeaderRecord(badOffset.data(), badOffset.size(), back), ParseResult::Corrupt);
  auto badLength = bytes;
  badLength[1052] = 9;
  EXPECT_EQ(ParseHeaderRecord(badLength.data(), badLength.size(), back), ParseResult::Corrupt);
}

TEST(HeaderRecordLayout, ATextWithoutItsNulIsCutToTheField) {
  std::vector<uint8_t> bytes(kHeaderRecordSize);
  for (size_t i = 0; i < 260; ++i) WriteLe16(&bytes[8 + 2 * i], u'x');
  HeaderRecord back;
  ASSERT_EQ(ParseHeaderRecord(bytes.data(), bytes.size(), back), ParseResult::Ok);
  EXPECT_EQ(back.m_softwareName.size(), 259u);
  EXPECT_TRUE(back.m_extension.empty());
}

TEST(HeaderRecordMatch, SignatureMustFitInsideTheSector) {
  std::vector<uint8_t> sector(512, 0);
  HeaderRecord r = PdfSignature();
  std::copy(r.m_signature, r.m_signature + 4, sector.begin());
  EXPECT_TRUE(r.Matches(sector.data(), sector.size()));
  sector[3] = 'X';
  EXPECT_FALSE(r.Matches(sector.data(), sector.size()));
  r.m_offset = 510; // two of its four bytes would lie past the sector
  EXPECT_FALSE(r.Matches(sector.data(), sector.size()));
  r.m_offset = 0;
  r.m_signatureLength = 0;
  EXPECT_FALSE(r.Matches(sector.data(), sector.size())) << "an empty signature matches nothing";
}

} // namespace
