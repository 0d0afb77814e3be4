// The application manifest of the built program, read back from its
// resources as the system reads it at start: it asks for administrator
// rights (reading sectors needs them) and names every system from Windows
// Vista to Windows 11, so they report their true version to the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// The manifest resource of the program, as text; empty when it has none.
std::string ProgramManifest() {
  HMODULE program = ::LoadLibraryExW(QV_PROGRAM, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (program == nullptr) return {};
  std::string text;
  if (HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const DWORD size = ::SizeofResource(program, found);
    HGLOBAL loaded = ::LoadResource(program, found);
    const void *bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes != nullptr) text.assign(static_cast<const char *>(bytes), size);
  }
  ::FreeLibrary(program);
  return text;
}

// The value of the first attribute name="..." of the first element tag.
std::string Attribute(const std::string &xml, const std::string &tag, const std::string &name) {
  const size_t element = xml.find("<" + tag + " ");
  if (element == std::string::npos) return {};
  const size_t end = xml.find('>', element);
  const size_t at = xml.find(" " + name + "=\"", element);
  if (at == std::string::npos || at > end) return {};
  const size_t first = at + name.size() + 3;
  return xml.substr(first, xml.find('"', first) - first);
}

TEST(Manifest, AsksForAdministratorRights) {
  const std::string manifest = ProgramManifest();
  ASSERT_FALSE(manifest.empty()) << "the program carries no manifest";
  EXPECT_EQ(manifest.rfind("<?xml version=\"1.0\"", 0), 0u);
  EXPECT_EQ(Attribute(manifest, "assembly", "manifestVersion"), "1.0");
  EXPECT_NE(manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">"), std::string::npos);
  EXPECT_EQ(Attribute(manifest, "requestedExecutionLevel", "level"), "requireAdministrator");
  EXPECT_EQ(Attribute(manifest, "requestedExecutionLevel", "uiAccess"), "false");
  EXPECT_EQ(Attribute(manifest, "assemblyIdentity", "processorArchitecture"), "amd64");
}

TEST(Manifest, NamesEverySystemFromVistaToWindows11) {
  const std::string manifest = ProgramManifest();
  EXPECT_NE(manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">"),
            std::string::npos);
  const struct {
    const char *system, *id;
  } systems[] = {{"Vista", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"},
                 {"7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
                 {"8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
                 {"8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
                 {"10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}};
  for (const auto &system : systems)
    EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + system.id + "\"/>"), std::string::npos)
        << "Windows " << system.system;
}

} // namespace
