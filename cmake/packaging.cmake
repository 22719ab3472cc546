# A Debian package from the install rules: `cpack -G DEB` in the build folder. The libraries the program links
# are found by dpkg-shlibdeps; what it loads at run time is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarvelin2)
set(CPACK_PACKAGE_VENDOR "Tarvelin2 maintainers")
set(CPACK_PACKAGE_CONTACT "Tarvelin2 maintainers <${TARVELIN_CONTACT_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "file organiser with binder lists and a Japanese user interface")
set(CPACK_PACKAGE_DESCRIPTION "Browse folders, gather the files and folders of one piece of work into\n\
list documents with binders, open them with their programs and keep a memo\n\
beside each list.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Staged through DESTDIR, so that the install step leaves the desktop's caches to dpkg's triggers.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
# The SVG icon engine and the X11 platform are plugins; Japanese text needs a Japanese Gothic font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6 (>= 6.4), qt6-qpa-plugins (>= 6.4), fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
include(CPack)
