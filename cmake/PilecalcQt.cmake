# pilecalc_use_offscreen_platform(TARGET): a program that may draw without a screen (the tests, the
# batch tool's PDF formats) takes Qt's offscreen platform along where Qt is a static library, which
# loads no plugins at run time. A shared Qt finds the plugin itself.
function(pilecalc_use_offscreen_platform target)
    find_package(Qt6 REQUIRED COMPONENTS Gui) # its targets, in the caller's folder
    get_target_property(type Qt6::Core TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
        qt_import_plugins(${target} INCLUDE Qt6::QOffscreenIntegrationPlugin)
    endif()
endfunction()

# pilecalc_add_windows_resources(TARGET): the desktop program as a Windows window program: no
# console, the program's icon, and version details whose description is the program's title (taken
# from ui/program_title.h).
function(pilecalc_add_windows_resources target)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    file(READ ${PROJECT_SOURCE_DIR}/ui/program_title.h title_header)
    string(REGEX MATCH "ProgramTitle = \"([^\"]*)\"" ignored "${title_header}")
    set(title "${CMAKE_MATCH_1}")
    string(REGEX MATCH "CaptionSuffix = \"([^\"]*)\"" ignored "${title_header}")
    set(PILECALC_TITLE "${title}${CMAKE_MATCH_1}")
    set(PILECALC_ICON ${PROJECT_SOURCE_DIR}/windows/pilecalc.ico)
    configure_file(${PROJECT_SOURCE_DIR}/windows/pilecalc-gui.rc.in
                   ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()
