# A program per layer that links the whole of the layer's library with only
# the layers below it: a call that runs back up (the core into Qt, tools/
# into the editor's widgets, lang/ into editor/) leaves a symbol undefined and
# fails the build.
function(quillmark_layer_check layer)
  add_executable(layer_check_${layer} ${PROJECT_SOURCE_DIR}/cmake/LayerCheck.cpp)
  target_link_libraries(layer_check_${layer} PRIVATE "$<LINK_LIBRARY:WHOLE_ARCHIVE,${layer}>"
                        ${ARGN})
endfunction()

quillmark_layer_check(quillmark_core)
quillmark_layer_check(quillmark_documents quillmark_qtgui)
quillmark_layer_check(quillmark_widgets quillmark_documents)
quillmark_layer_check(quillmark_tree quillmark_widgets)
quillmark_layer_check(quillmark_lang quillmark_widgets)
quillmark_layer_check(quillmark_tools quillmark_tree)
