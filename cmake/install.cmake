# What `cmake --install` puts where. The programs live together in <prefix>/lib/tavrel, since each
# reads and writes its INI files next to its own program file; the commands in bin are relative
# links to them, so a DESTDIR staging or a moved prefix still holds together.
include(GNUInstallDirs)

set(TAVREL_PROGRAM_DIR lib/tavrel)

add_subdirectory(${CMAKE_SOURCE_DIR}/tools/launcher_icon_png)

install(TARGETS TavrelPrj TavrelSettings TavrelEntries
        RUNTIME DESTINATION ${TAVREL_PROGRAM_DIR})
# The SDL backend, loaded by the programs from their own folder when no native one can start.
install(TARGETS platform_sdl_module LIBRARY DESTINATION ${TAVREL_PROGRAM_DIR})

# The links are made in the build tree and installed as links (install keeps them so).
file(RELATIVE_PATH tavrel_bin_to_programs ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${TAVREL_PROGRAM_DIR})
set(tavrel_link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${tavrel_link_dir})
foreach(pair tavrel:TavrelPrj tavrel-settings:TavrelSettings tavrel-entries:TavrelEntries)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 command)
  list(GET pair 1 program)
  file(CREATE_LINK ${tavrel_bin_to_programs}/${program} ${tavrel_link_dir}/${command} SYMBOLIC)
  install(FILES ${tavrel_link_dir}/${command} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/resources/desktop/tavrel.desktop
              ${CMAKE_SOURCE_DIR}/resources/desktop/tavrel-settings.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${TAVREL_ICON_FOLDER}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/tavrel.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/docs/man/tavrel.1 ${CMAKE_SOURCE_DIR}/docs/man/tavrel-settings.1
              ${CMAKE_SOURCE_DIR}/docs/man/tavrel-entries.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# A first options.ini with the system's look, every key in the editor's order, so the launcher
# starts without a box about a missing file; one already there (the user's own look) is kept.
set(tavrel_default_options
    "[main_settings]" "use_system_colors=true"
    "odd_item.r=255" "odd_item.g=248" "odd_item.b=230"
    "even_item.r=230" "even_item.g=240" "even_item.b=255"
    "active_item.r=40" "active_item.g=110" "active_item.b=200"
    "font.r=30" "font.g=30" "font.b=30"
    "active_font.r=255" "active_font.g=255" "active_font.b=255"
    "slider.r=90" "slider.g=90" "slider.b=90"
    "use_system_font=true" "item_font.name=DejaVu Sans" "item_font.bold=true"
    "item_font.italic=false" "item_font.size=-20"
    "use_system_item_height=true" "user_item_height=96"
    "use_system_menu_pos=true" "user_menu_pos_TL_X=0" "user_menu_pos_TL_Y=0"
    "user_menu_pos_BR_X=480" "user_menu_pos_BR_Y=640"
    "pos_item_text=center" "use_menu_inertia=true")
# CR LF line ends, as both programs read them.
list(JOIN tavrel_default_options "\r\n" tavrel_default_options)
file(WRITE ${CMAKE_BINARY_DIR}/default-options/options.ini "${tavrel_default_options}\r\n")
install(CODE "
  if(NOT EXISTS \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TAVREL_PROGRAM_DIR}/options.ini\")
    file(INSTALL \"${CMAKE_BINARY_DIR}/default-options/options.ini\"
         DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${TAVREL_PROGRAM_DIR}\")
  endif()")
