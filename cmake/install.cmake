# What `cmake --install` puts where (GNUInstallDirs), the man pages built
# with scdoc, and the Debian package made by `cpack -G DEB`.

find_program(SCDOC scdoc REQUIRED)
set(VELMORA_MAN_PAGES velmora velmora-sim velmora-check)
set(man_outputs)
foreach(page ${VELMORA_MAN_PAGES})
    set(source ${CMAKE_SOURCE_DIR}/data/man/${page}.6.scd)
    set(output ${CMAKE_BINARY_DIR}/man/${page}.6)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
        COMMAND ${SCDOC} < ${source} > ${output}
        DEPENDS ${source}
        COMMENT "Man page ${page}(6)"
        VERBATIM)
    list(APPEND man_outputs ${output})
endforeach()
add_custom_target(velmora_man_pages ALL DEPENDS ${man_outputs})

set(programs velmora-sim velmora-check)
if(TARGET velmora)
    list(APPEND programs velmora)
endif()
install(TARGETS ${programs} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/scenarios/ DESTINATION ${VELMORA_INSTALL_SCENARIOS_DIR})
install(FILES ${man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_SOURCE_DIR}/data/velmora.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/io.github.velmora.velmora.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/data/icons/velmora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/data/icons/${size}/velmora.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# The .deb: library dependencies come from dpkg-shlibdeps; what the game
# loads at run time without linking it is listed by hand.
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION "1.00")
set(CPACK_PACKAGE_CONTACT "Velmora developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn-based operational wargame of modern naval and air warfare")
set(CPACK_PACKAGE_DESCRIPTION
    "Command six fleets, six submarine divisions and a base against a computer side on a sea map, one hour a turn. Includes one scenario and the scenario tools velmora-check and velmora-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, timgm6mb-soundfont, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-ipafont-mincho, fonts-ipafont-gothic, libgl1-mesa-dri")
include(CPack)
