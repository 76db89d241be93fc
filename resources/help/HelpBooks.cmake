# Help books (kvbrdeu.htb, kvbrenu.htb): zip archives of the help sources of each language
# (project, contents, index and pages), written beside the program.
set(LP_HELP_BOOKS)
foreach(lang deu enu)
  set(help_dir ${CMAKE_SOURCE_DIR}/resources/help/${lang})
  file(GLOB help_sources CONFIGURE_DEPENDS ${help_dir}/*.hhp ${help_dir}/*.hhc ${help_dir}/*.hhk ${help_dir}/*.html)
  set(help_names)
  foreach(src ${help_sources})
    get_filename_component(name ${src} NAME)
    list(APPEND help_names ${name})
  endforeach()
  set(book ${LP_BIN_DIR}/kvbr${lang}.htb)
  add_custom_command(OUTPUT ${book}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${book}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${book} --format=zip -- ${help_names}
    WORKING_DIRECTORY ${help_dir}
    DEPENDS ${help_sources}
    COMMENT "Building help book kvbr${lang}.htb")
  list(APPEND LP_HELP_BOOKS ${book})
endforeach()
add_custom_target(lp_helpbooks ALL DEPENDS ${LP_HELP_BOOKS})
add_dependencies(kvbrars lp_helpbooks)
