# `make package`: a Debian package made by CPack from the install rules.
# Its run-time dependencies come from dpkg-shlibdeps (package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME typeswap)
set(CPACK_PACKAGE_VENDOR "The Typeswap developers")
set(CPACK_PACKAGE_CONTACT "The Typeswap developers <typeswap@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rewrites the fonts of translated Interleaf ASCII documents")
set(CPACK_PACKAGE_DESCRIPTION
    "Typeswap loads translated Interleaf ASCII documents and a set of font files,\n"
    "lists every way the documents use a font and lets the user choose a new one\n"
    "for each, then writes rewritten copies in which only the font references\n"
    "change. A Qt 6 wizard (typeswap) and a command-line program (typeswap-cli).")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# man-db and bash-completion pick up their files without maintainer scripts;
# the desktop's caches are refreshed by dpkg triggers of their own packages.
# The wizard cannot open a window without a Qt platform plugin, which no
# library links and dpkg-shlibdeps therefore cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
include(CPack)
