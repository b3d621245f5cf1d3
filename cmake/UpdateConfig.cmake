# The update configuration. The release host is compiled into the core, and the
# resource distribution-config.json carries the signer's public key beside the
# repeated manifest address. Both are packaging inputs: a build without them
# names a host that never resolves and ships a configuration that does not
# load, so the update sheet reports the distribution as not set up.
set(release_host "${MERIDAVOLT_RELEASE_HOST}")
if(release_host STREQUAL "")
  set(release_host "releases.meridavolt.invalid")
endif()
if(NOT release_host MATCHES "^[a-z0-9]([a-z0-9.-]*[a-z0-9])?$")
  message(FATAL_ERROR "MERIDAVOLT_RELEASE_HOST must be a lowercase host name, without scheme, port or path")
endif()
if(NOT MERIDAVOLT_RELEASE_PUBLIC_KEY MATCHES "^[A-Za-z0-9+/=]*$")
  message(FATAL_ERROR "MERIDAVOLT_RELEASE_PUBLIC_KEY must be the base64 text of the raw Ed25519 key")
endif()
target_compile_definitions(mv_update PUBLIC MERIDAVOLT_RELEASE_HOST="${release_host}")

if(TARGET mv_resources)
  set(distribution_config ${PROJECT_BINARY_DIR}/generated/distribution-config.json)
  file(CONFIGURE OUTPUT ${distribution_config} @ONLY CONTENT
    "{\"publicKey\":\"@MERIDAVOLT_RELEASE_PUBLIC_KEY@\",\"updateFeedURL\":\"https://@release_host@/meridavolt/releases.json\"}\n")
  add_custom_command(OUTPUT ${resource_c} APPEND DEPENDS ${distribution_config})
endif()

# The transport tests run a TLS server of their own.
function(meridavolt_link_tls_test_server)
  if(TARGET update_curl_tests)
    target_link_libraries(update_curl_tests PRIVATE OpenSSL::SSL)
  endif()
endfunction()
cmake_language(DEFER CALL meridavolt_link_tls_test_server)
