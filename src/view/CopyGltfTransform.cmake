# cmake -D CORE=… -D GRAPH=… -D OUT=… -P CopyGltfTransform.cmake: copies glTF Transform's module
# and its dependency for the page, which has no import map: the dependency is named by its path.
file(READ ${CORE} text)
string(REPLACE "from \"property-graph\"" "from \"./property-graph.js\"" text "${text}")
if(NOT text MATCHES "\\./property-graph\\.js")
  message(FATAL_ERROR "${CORE} no longer imports property-graph as expected")
endif()
file(WRITE ${OUT}/core.js "${text}")
file(COPY_FILE ${GRAPH} ${OUT}/property-graph.js)
