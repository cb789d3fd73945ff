# The Debian package: `cpack -G DEB` in a build folder (scripts/package.sh does it all).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavelo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${TAVELO_MAINTAINER}")
set(CPACK_PACKAGE_VENDOR "${TAVELO_DEVELOPER}")
if(TAVELO_HOMEPAGE)
  set(CPACK_PACKAGE_HOMEPAGE_URL "${TAVELO_HOMEPAGE}")
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for a karaoke and home-cinema sound processor")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${TAVELO_PACKAGE_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVELO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The synopsis line comes from the summary above; this is the long description under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tavelo adjusts a karaoke and home-cinema sound processor over USB or Wi-Fi:
levels, equalisers, reverb, echo, outputs and preset modes. It saves and
loads presets as files, and comes with tavelo-cli, the same controls on the
command line, and tavelo-sim, a virtual processor for trying it without
hardware. A udev rule lets the user at the seat open the USB device.
tavelo-hub, the venue service, watches many rooms, keeps every version in a
database and serves an HTTP API with logins and roles; its systemd unit
runs it as its own system user once enabled.")
# Libraries from the binaries themselves; Qt's translations and a font with Chinese glyphs
# are loaded at run time, so they are named here (without one every Chinese label of the
# panel and of `report --lang zh` is an empty box).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-wqy-microhei | fonts-noto-cjk, adduser")
# The venue service's user and unit (postinst), stopping it before removal (prerm), and its
# data gone on purge (postrm).
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_SOURCE_DIR}/systemd/postinst
    ${CMAKE_CURRENT_SOURCE_DIR}/systemd/prerm ${CMAKE_CURRENT_SOURCE_DIR}/systemd/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
