# What `make install` puts where (under CMAKE_INSTALL_PREFIX) and the Debian
# package `make package` builds from it.
include(GNUInstallDirs)

install(TARGETS astrevo astrevo-gallery RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/astrevo.desktop ${CMAKE_CURRENT_LIST_DIR}/astrevo-gallery.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/astrevo.svg ${CMAKE_CURRENT_LIST_DIR}/icons/astrevo-gallery.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

if(TARGET astrevo_designer)
  # Qt's own plugin folder relative to its prefix (lib/<multiarch>/qt6/plugins
  # on Debian), so an install under /usr lands where Designer looks; under
  # another prefix Designer finds it through QT_PLUGIN_PATH.
  if(QT6_INSTALL_PLUGINS)
    set(plugins_dir ${QT6_INSTALL_PLUGINS})
  else()
    set(plugins_dir ${CMAKE_INSTALL_LIBDIR}/qt6/plugins)
  endif()
  set(ASTREVO_DESIGNER_PLUGIN_DIR ${plugins_dir}/designer
      CACHE STRING "Where the Qt Designer plugin is installed, under the prefix")
  install(TARGETS astrevo_designer LIBRARY DESTINATION ${ASTREVO_DESIGNER_PLUGIN_DIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME astrevo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Lines up two images of the same star field")
set(CPACK_PACKAGE_DESCRIPTION
    "Astrevo computes the scale and rotation that line up two images of the same star\n\
field from two star pairs, in extended precision. The package also carries the\n\
component gallery (astrevo-gallery) and the Qt Designer plugin of the\n\
library's controls.")
set(CPACK_PACKAGE_CONTACT "Astrevo developers <astrevo@invalid>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The runtime libraries (Qt, SQLite, libxlsxwriter) as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
