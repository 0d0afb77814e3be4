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
# The toolkit's resources cannot live in the static library. A program that
# links the toolkit and has no resource script of its own adds
# ${toolkit_resources} to its sources; one with its own script #includes
# XTPResources.rc from it (windres numbers cursor images from 1 in every
# script, so two scripts with cursors cannot go into one program) and gives
# that script qv_toolkit_resource_script().
set(toolkit_resources ${CMAKE_SOURCE_DIR}/Common/XTPResources.rc)
file(GLOB toolkit_resource_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/Common/XTPResource.h
     ${CMAKE_SOURCE_DIR}/Common/XTPResources.rc ${CMAKE_SOURCE_DIR}/Common/*.rci
     ${CMAKE_SOURCE_DIR}/Common/res/*)
# The script is found in Common/; it names its art from the source root
# (Common/res/...), whichever target compiles it.
set(toolkit_resource_include_dirs ${CMAKE_SOURCE_DIR}/Common ${CMAKE_SOURCE_DIR})

# Makes a resource script able to include the toolkit's, and rebuilt when it
# or its art changes; extra files the script depends on follow the script.
# windres looks for art in the folders given before the target's own, in
# order: the script's own folder comes first, so that its "res/Hand.cur" is
# never the toolkit's Common/res/Hand.cur.
function(qv_toolkit_resource_script script)
  get_filename_component(script_dir ${script} DIRECTORY)
  set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${ARGN};${toolkit_resource_files}"
                              INCLUDE_DIRECTORIES "${script_dir};${toolkit_resource_include_dirs}")
endfunction()
qv_toolkit_resource_script(${toolkit_resources})

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
  foreach(name CommandBarTest CommandBarsFrameTest ComboBoxTest ControlEditTest CustomizeSheetTest DialogBarMouseTest HookManagerTest ImageEditorTest
               MenuBarKeysTest MouseManagerTest PopupBarTest PopupContextMenuTest PopupTearOffTest TabClientWndTest ToolBarMouseDragTest
               ToolBarTest XTButtonTest XTHeaderCtrlTest
               XTPDockingPaneDragTest XTPDockingPaneManagerTest XTPDockingPaneStickerTest
               XTPDockingPaneFloatingFrameTest XTPDockingPaneAutoHideTest
               XTPToolTipContextTest)
    if(TEST toolkit_${name})
      set_tests_properties(toolkit_${name} PROPERTIES RUN_SERIAL ON)
    endif()
  endforeach()
endif()
