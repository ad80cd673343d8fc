# The Speech Dispatcher module's configuration. The Debian package itself is made from debian/
# (scripts/package.sh), with these install rules.

# The module's configuration goes where Debian's server reads module configurations: /etc for
# the prefix /usr (the GNU rule the other configuration files follow), else under the prefix.
install(CODE "set(tirla_module_conf \"${PROJECT_SOURCE_DIR}/data/speechd/orvia.conf\")
              set(tirla_module_etc \"${CMAKE_INSTALL_SYSCONFDIR}/speech-dispatcher/modules\")")
install(CODE [[
  if(NOT IS_ABSOLUTE "${tirla_module_etc}")
    if(CMAKE_INSTALL_PREFIX MATCHES "^/usr/?$")
      set(tirla_module_etc "/${tirla_module_etc}")
    else()
      set(tirla_module_etc "${CMAKE_INSTALL_PREFIX}/${tirla_module_etc}")
    endif()
  endif()
  file(INSTALL DESTINATION "${tirla_module_etc}" TYPE FILE FILES "${tirla_module_conf}")
]])

if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "Installing into the prefix ${CMAKE_INSTALL_PREFIX}; Speech Dispatcher "
                 "finds its module only with the prefix /usr")
endif()
