# The Debian package, made by `cpack -G DEB` in a Release build tree (scripts/package.sh).
set(ORVAN_PACKAGE_CONTACT "Orvan developers <orvan@orvan.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvan)
set(CPACK_PACKAGE_CONTACT ${ORVAN_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "turn a 16-pad controller into a freely mappable MIDI controller")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvan switches a 16-pad controller into its native mode, reads every pad,
button, knob, jog-wheel, XY-pad and foot-pedal action, and sends notes and
control changes to your music software. It is a JACK client: it works with a
JACK server or with PipeWire's JACK layer.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
if(ORVAN_HOME_PAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORVAN_HOME_PAGE})
endif()
# Runtime libraries as dpkg-shlibdeps reads them from the binary: Qt's core, GUI (with the X11
# and offscreen platforms) and widgets, RE2, and libjack from jackd2 or JACK 1. PipeWire's
# libjack sits outside the linker's path and is used through pw-jack, so a libjack package stays
# needed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "jackd2 | pipewire-jack")

include(CPack)
