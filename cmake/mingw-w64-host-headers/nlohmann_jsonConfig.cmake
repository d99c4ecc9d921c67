include(${CMAKE_CURRENT_LIST_DIR}/host_headers.cmake)
talv_host_headers(nlohmann_json::nlohmann_json nlohmann)
