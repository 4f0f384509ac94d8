# Fuzz targets of the stream container and its codecs.
orbanel_fuzz(streams_lzh_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/streams_lzh_fuzz.cpp
             LIBS orbanel_streams)
orbanel_fuzz(streams_cipher_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/streams_cipher_fuzz.cpp
             LIBS orbanel_streams)
orbanel_fuzz(streams_container_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/streams_container_fuzz.cpp
             LIBS orbanel_streams)
orbanel_fuzz(streams_container_key_fuzz
             SOURCES ${CMAKE_CURRENT_LIST_DIR}/streams_container_key_fuzz.cpp
             LIBS orbanel_streams)
