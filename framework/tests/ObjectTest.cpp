#include <gtest/gtest.h>

#include "Exception.h"
#include "Object.h"

namespace objecttest {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

class CSquare : public CShape {
  DECLARE_SERIAL(CSquare)
};
IMPLEMENT_SERIAL(CSquare, CShape, 3 | VERSIONABLE_SCHEMA)

class CAbstract : public CObject {
  DECLARE_DYNAMIC(CAbstract)
};
IMPLEMENT_DYNAMIC(CAbstract, CObject)

} // namespace objecttest

using namespace objecttest;

TEST(RuntimeClass, IsKindOfFollowsTheBaseChain) {
  CCircle circle;
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CShape)));
  EXPECT_TRUE(circle.IsKindOf(RUNTIME_CLASS(CObject)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CSquare)));
  EXPECT_FALSE(circle.IsKindOf(RUNTIME_CLASS(CAbstract)));
  EXPECT_TRUE(RUNTIME_CLASS(CSquare)->IsDerivedFrom(RUNTIME_CLASS(CShape)));
  EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CSquare)));
  EXPECT_STREQ(circle.GetRuntimeClass()->m_lpszClassName, "CCircle");
  EXPECT_EQ(RUNTIME_CLASS(CCircle)->m_nObjectSize, static_cast<int>(sizeof(CCircle)));
}

TEST(RuntimeClass, CreatesObjectsByNarrowAndWideName) {
  struct Case {
    const wchar_t *name;
    CRuntimeClass *expected; // null: cannot be created
  } cases[] = {
      {L"CCircle", RUNTIME_CLASS(CCircle)},
      {L"CSquare", RUNTIME_CLASS(CSquare)},
      {L"CShape", nullptr},  // known, but not creatable
      {L"CNoSuch", nullptr}, // unknown
      {L"CCircl\u00e9", nullptr},
      {L"", nullptr},
  };
  for (const Case &c : cases) {
    CObject *pWide = CRuntimeClass::CreateObject(c.name);
    EXPECT_EQ(pWide != nullptr ? pWide->GetRuntimeClass() : nullptr, c.expected) << c.name;
    delete pWide;
  }
  CObject *pNarrow = CRuntimeClass::CreateObject("CSquare");
  ASSERT_NE(pNarrow, nullptr);
  EXPECT_TRUE(pNarrow->IsKindOf(RUNTIME_CLASS(CSquare)));
  delete pNarrow;
  EXPECT_EQ(CRuntimeClass::FromName(L"CShape"), RUNTIME_CLASS(CShape));
  EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
  EXPECT_EQ(CRuntimeClass::FromName(static_cast<LPCWSTR>(nullptr)), nullptr);
}

TEST(RuntimeClass, SchemaAndSerializability) {
  EXPECT_EQ(RUNTIME_CLASS(CSquare)->m_wSchema, 3u | VERSIONABLE_SCHEMA);
  EXPECT_TRUE(CSquare().IsSerializable());
  EXPECT_FALSE(CCircle().IsSerializable());
  EXPECT_FALSE(CShape().IsSerializable());
}

TEST(RuntimeClass, DynamicDowncastChecksTheClass) {
  CSquare square;
  CObject *pObject = &square;
  EXPECT_EQ(DYNAMIC_DOWNCAST(CShape, pObject), &square);
  EXPECT_EQ(DYNAMIC_DOWNCAST(CCircle, pObject), nullptr);
  EXPECT_EQ(DYNAMIC_DOWNCAST(CCircle, static_cast<CObject *>(nullptr)), nullptr);
  EXPECT_EQ(STATIC_DOWNCAST(CSquare, pObject), &square);
}

TEST(Exceptions, ThrownAsPointersAndCaughtAsTheBase) {
  struct Case {
    void (*thrower)();
    CRuntimeClass *expected;
  } cases[] = {
      {[] { AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, L"x.bin"); },
       RUNTIME_CLASS(CFileException)},
      {[] { AfxThrowArchiveException(CArchiveException::badSchema); }, RUNTIME_CLASS(CArchiveException)},
      {[] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException)},
      {[] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException)},
      {[] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException)},
      {[] { AfxThrowInvalidArgException(); }, RUNTIME_CLASS(CInvalidArgException)},
  };
  for (const Case &c : cases) {
    try {
      c.thrower();
      ADD_FAILURE() << "nothing thrown";
    } catch (CException *e) {
      EXPECT_EQ(e->GetRuntimeClass(), c.expected);
      EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
      e->Delete();
    }
  }
}

TEST(Exceptions, FileExceptionMapsOsErrorsAndNamesTheFile) {
  EXPECT_EQ(CFileException::OsErrorToException(ERROR_FILE_NOT_FOUND), CFileException::fileNotFound);
  EXPECT_EQ(CFileException::OsErrorToException(ERROR_SHARING_VIOLATION), CFileException::sharingViolation);
  EXPECT_EQ(CFileException::OsErrorToException(ERROR_DISK_FULL), CFileException::diskFull);
  EXPECT_EQ(CFileException::OsErrorToException(12345), CFileException::genericException);
  CFileException e(CFileException::accessDenied, ERROR_ACCESS_DENIED, L"C:\\a.txt");
  wchar_t text[256];
  ASSERT_TRUE(e.GetErrorMessage(text, 256));
  EXPECT_NE(wcsstr(text, L"C:\\a.txt"), nullptr);
  wchar_t tiny[4];
  ASSERT_TRUE(e.GetErrorMessage(tiny, 4)); // truncated, still terminated
  EXPECT_EQ(wcslen(tiny), 3u);
  CArchiveException bad(999);
  EXPECT_TRUE(bad.GetErrorMessage(text, 256)); // unknown cause: a generic text
}

TEST(Exceptions, CatchMacrosFreeTheExceptionUnlessRethrown) {
  int caught = 0;
  TRY {
    AfxThrowUserException();
  }
  CATCH(CFileException, e) {
    ADD_FAILURE() << "wrong handler";
  }
  AND_CATCH(CUserException, e) {
    ++caught;
    e->Delete(); // harmless inside the macros
  }
  END_CATCH
  EXPECT_EQ(caught, 1);

  CException *pPassedOn = nullptr;
  try {
    TRY {
      AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    CATCH_ALL(e) {
      THROW_LAST();
    }
    END_CATCH_ALL
  } catch (CArchiveException *e) {
    pPassedOn = e;
    EXPECT_EQ(e->m_cause, CArchiveException::endOfFile); // still alive
    e->Delete();
  }
  EXPECT_NE(pPassedOn, nullptr);
}
