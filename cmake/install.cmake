# Installs the editor as a desktop application:
#   bin/vmreditor                  the program (it needs ORBISKDIR)
#   bin/vmreditor-launch           sets ORBISKDIR for this installation, then runs the program
#   share/vmreditor/orbisk/        the installation directory (a copy of the staged one)
#   share/applications/            the menu entry, opening .xvm files with the launcher
#   share/mime/packages/           the .xvm document type
#   share/icons/hicolor/           application and document icons
#   share/man/man1/                manual pages
#   share/metainfo/                what software centres show of the editor (AppStream)
#   etc/profile.d/vmreditor.sh     exports ORBISKDIR for login shells (/etc/profile.d for /usr)
# Everything belongs to the component "vmreditor". The files that name the prefix are
# written at install time, so `cmake --install <build> --prefix <dir>` and DESTDIR
# staging both produce files that point at the final location.
include(GNUInstallDirs)

set(VMR_INSTALL_COMPONENT vmreditor)
set(VMR_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(VMR_INSTALL_ORBISKDIR ${CMAKE_INSTALL_DATADIR}/vmreditor/orbisk)
set(VMR_MIME_TYPE application/x-velmor-port+xml)

install(TARGETS vmreditor
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    COMPONENT ${VMR_INSTALL_COMPONENT})

# The staged tree holds the compiled translations besides the repository's files.
install(DIRECTORY ${VMR_ORBISK_DIR}/
    DESTINATION ${VMR_INSTALL_ORBISKDIR}
    COMPONENT ${VMR_INSTALL_COMPONENT}
    PATTERN ".keep" EXCLUDE
    PATTERN "*~" EXCLUDE
    PATTERN "*.orig" EXCLUDE
    PATTERN "*.rej" EXCLUDE)

install(FILES ${VMR_PACKAGING_DIR}/vmreditor.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    COMPONENT ${VMR_INSTALL_COMPONENT})

install(FILES ${VMR_PACKAGING_DIR}/vmreditor.1 ${VMR_PACKAGING_DIR}/vmreditor-launch.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
    COMPONENT ${VMR_INSTALL_COMPONENT})

install(FILES ${VMR_PACKAGING_DIR}/com.quintarsoftware.vmreditor.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
    COMPONENT ${VMR_INSTALL_COMPONENT})

# PNG icons at the usual sizes, drawn from packaging/icons/*.svg by render-icons.sh.
install(DIRECTORY ${VMR_PACKAGING_DIR}/icons/hicolor
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
    COMPONENT ${VMR_INSTALL_COMPONENT}
    FILES_MATCHING PATTERN "*.png")
install(FILES ${VMR_PACKAGING_DIR}/icons/vmreditor.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    COMPONENT ${VMR_INSTALL_COMPONENT})
string(REPLACE "/" "-" VMR_MIME_ICON ${VMR_MIME_TYPE})
install(FILES ${VMR_PACKAGING_DIR}/icons/${VMR_MIME_ICON}.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
    COMPONENT ${VMR_INSTALL_COMPONENT})

# The launcher, the profile snippet and the menu entry name the final prefix; the
# desktop caches are refreshed afterwards, except when staging into DESTDIR.
install(CODE "
set(VMR_PACKAGING_DIR \"${VMR_PACKAGING_DIR}\")
set(VMR_GENERATED_DIR \"${CMAKE_BINARY_DIR}/packaging-install\")
set(VMR_BINDIR \"${CMAKE_INSTALL_BINDIR}\")
set(VMR_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
set(VMR_SYSCONFDIR \"${CMAKE_INSTALL_SYSCONFDIR}\")
set(VMR_ORBISKDIR \"${VMR_INSTALL_ORBISKDIR}\")
include(\"${VMR_PACKAGING_DIR}/install-generated.cmake\")
" COMPONENT ${VMR_INSTALL_COMPONENT})

# `cmake --build <build> --target uninstall` removes what the last full install wrote.
if(NOT TARGET uninstall)
    add_custom_target(uninstall
        COMMAND ${CMAKE_COMMAND} -DVMR_MANIFEST=${CMAKE_BINARY_DIR}/install_manifest.txt
                -P ${VMR_PACKAGING_DIR}/uninstall.cmake
        COMMENT "Uninstalling the files listed in install_manifest.txt"
        USES_TERMINAL)
endif()
