# The Debian package, made by CPack from the install rules above (`scripts/package.sh`).
# It installs under /usr what `cmake --install` installs under any prefix.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trevano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TREVANO_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The desktop entry and the manual page are written with the final prefix, not the staging
# folder's.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};Trevano;Unspecified;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "recompress pictures as JPEG at a chosen quality")
# Lines as Debian shows them, under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Trevano shows a BMP or JPEG picture twice, side by side: as loaded,
and as it will look once compressed as JPEG at the quality set with a slider,
with the size the new file will have. The new file is saved under a new name,
and can be turned by steps of 90 degrees, a JPEG file without loss of quality.

From the command line, trevano --batch recompresses many pictures and whole
folders the same way, at a quality, under a file size or above a similarity,
on several processors at once, without opening a window.

The interface exists in English and in French.")
# The libraries the programs link, found by dpkg-shlibdeps: the rotation tool turns through
# TurboJPEG itself and runs no other program.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
