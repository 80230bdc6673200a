# `make package`: a Debian package of the install rules, its dependencies
# worked out from the binaries by dpkg-shlibdeps. Name and version come from
# the project, so brevix --version, brevix-dump --version, the AppStream
# release and the package always agree.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME brevix)
set(CPACK_PACKAGE_VENDOR KELMARON)
set(CPACK_PACKAGE_CONTACT "Brevix developers <brevix@kelmaron.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for SECS-II message files")
set(CPACK_PACKAGE_DESCRIPTION "\
Brevix shows SECS-II messages (SEMI E5) stored one per .BIG file as a fully\n\
expanded tree of lists and typed values, saves them as text listings and\n\
converts hex dumps from logs into message files. brevix-dump does the same\n\
from the command line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialogs are laid out in Tahoma, which fonts-wine brings; any other
# sans-serif font still works.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-wine)
set(CPACK_STRIP_FILES ON)
include(CPack)
