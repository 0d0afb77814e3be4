#include <gtest/gtest.h>

#include "Geometry.h"

TEST(Rect, SizeCornersAndHitTest) {
  CRect rect(10, 20, 110, 70);
  EXPECT_EQ(rect.Width(), 100);
  EXPECT_EQ(rect.Height(), 50);
  EXPECT_EQ(rect.Size(), CSize(100, 50));
  EXPECT_EQ(rect.TopLeft(), CPoint(10, 20));
  EXPECT_EQ(rect.BottomRight(), CPoint(110, 70));
  EXPECT_EQ(rect.CenterPoint(), CPoint(60, 45));
  EXPECT_TRUE(rect.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(rect.PtInRect(CPoint(110, 20))); // right and bottom edges are outside
  EXPECT_FALSE(rect.PtInRect(CPoint(10, 70)));
  rect.BottomRight() = CPoint(200, 200);
  EXPECT_EQ(rect, CRect(10, 20, 200, 200));
}

TEST(Rect, EmptyAndNullAreDifferent) {
  EXPECT_TRUE(CRect().IsRectNull());
  EXPECT_TRUE(CRect().IsRectEmpty());
  EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
  EXPECT_FALSE(CRect(5, 5, 5, 9).IsRectNull());
  EXPECT_TRUE(CRect(9, 0, 1, 5).IsRectEmpty()); // inverted
}

TEST(Rect, InflateDeflateOffsetNormalize) {
  CRect rect(10, 10, 20, 20);
  rect.InflateRect(2, 3);
  EXPECT_EQ(rect, CRect(8, 7, 22, 23));
  rect.DeflateRect(1, 2, 3, 4);
  EXPECT_EQ(rect, CRect(9, 9, 19, 19));
  rect.OffsetRect(-9, 1);
  EXPECT_EQ(rect, CRect(0, 10, 10, 20));
  rect.MoveToXY(5, 5);
  EXPECT_EQ(rect, CRect(5, 5, 15, 15));
  CRect inverted(30, 40, 10, 20);
  inverted.NormalizeRect();
  EXPECT_EQ(inverted, CRect(10, 20, 30, 40));
  EXPECT_EQ(CRect(0, 0, 4, 4) + CPoint(1, 2), CRect(1, 2, 5, 6));
  EXPECT_EQ(CPoint(5, 5) - CPoint(2, 1), CSize(3, 4));
}

TEST(Rect, SetOperations) {
  struct Case {
    CRect a, b, intersection, united;
  } cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, {5, 5, 10, 10}, {0, 0, 15, 15}},
      {{0, 0, 10, 10}, {20, 20, 30, 30}, {0, 0, 0, 0}, {0, 0, 30, 30}},
      {{0, 0, 10, 10}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 10, 10}},    // empty operand
      {{0, 0, 10, 10}, {10, 0, 20, 10}, {0, 0, 0, 0}, {0, 0, 20, 10}}, // touching edges
  };
  for (const Case &c : cases) {
    CRect result;
    EXPECT_EQ(result.IntersectRect(&c.a, &c.b), !c.intersection.IsRectEmpty());
    EXPECT_EQ(result, c.intersection);
    EXPECT_EQ(c.a & c.b, c.intersection);
    EXPECT_EQ(c.a | c.b, c.united);
  }
  CRect rest;
  EXPECT_TRUE(rest.SubtractRect(CRect(0, 0, 10, 10), CRect(5, 0, 10, 10)));
  EXPECT_EQ(rest, CRect(0, 0, 5, 10));
}
