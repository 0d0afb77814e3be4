# The interface toolkit: one static library over the folders of its parts.
#   Common/             shared services: colours, drawing, images, property
#                       exchange, resources, visual styles, tooltips
#   Controls/Standard/  standard controls and their themes, registry and
#                       theme managers
#   CommandBars/        command bars, and the hook, mouse, sound, shortcut
#                       managers and the status bar they share
#   DockingPane/        docking panes
#   TabManager/         tab strips
# Each folder's tests/ holds <Name>Test.cpp programs (with <Name>Test.rc
# beside one that needs resources of its own).
#
# The toolkit's resources cannot live in the static library: every program
# that links the toolkit adds ${toolkit_resources} to its sources, beside its
# own resource script.
set(toolkit_resources ${CMAKE_SOURCE_DIR}/Common/XTPResources.rc)
file(GLOB toolkit_resource_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Common/XTPResource.h
     ${CMAKE_SOURCE_DIR}/Common/res/*)
# The script names its art relative to Common/, whichever target compiles it.
set_source_files_properties(${toolkit_resources} PROPERTIES OBJECT_DEPENDS "${toolkit_resource_files}"
                            INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/Common)
set(toolkit_folders Common Controls/Standard CommandBars DockingPane TabManager)
set(toolkit_sources)
foreach(folder IN LISTS toolkit_folders)
  file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  list(APPEND toolkit_sources ${folder_sources})
endforeach()

if(toolkit_sources)
  add_library(toolkit STATIC ${toolkit_sources})
  foreach(folder IN LISTS toolkit_folders)
    target_include_directories(toolkit PUBLIC ${CMAKE_SOURCE_DIR}/${folder})
  endforeach()
  target_link_libraries(toolkit PUBLIC framework msimg32 winmm)

  foreach(folder IN LISTS toolkit_folders)
    file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/tests/*Test.cpp)
    foreach(src IN LISTS test_sources)
      get_filename_component(name ${src} NAME_WE)
      get_filename_component(dir ${src} DIRECTORY)
      set(resources)
      if(EXISTS ${dir}/${name}.rc)
        set(resources ${dir}/${name}.rc)
      endif()
      qv_add_test(NAME toolkit_${name} SOURCES ${src} ${resources} ${toolkit_resources} LIBS toolkit window_test_kit LABELS toolkit)
    endforeach()
  endforeach()
  # Tests that type, click, move the cursor or take the activation on the
  # shared virtual screen: alone, so they neither disturb nor are disturbed by
  # the windows of tests running beside them.
  foreach(name HookManagerTest MouseManagerTest)
    if(TEST toolkit_${name})
      set_tests_properties(toolkit_${name} PROPERTIES RUN_SERIAL ON)
    endif()
  endforeach()
endif()
