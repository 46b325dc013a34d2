# dorix_pack_profile(<target> <folder> <output>): a target that packs the profile folder into
# the ".zdorix" archive output with tools/pack-profile, again whenever a file in the folder
# changes. Unchecked: the check needs the very program being built, on the simulated device;
# the sample profiles' test checks them.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(DORIX_PACK_PROFILE ${CMAKE_CURRENT_LIST_DIR}/pack-profile)

function(dorix_pack_profile target folder output)
    file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${folder}/*)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${Python3_EXECUTABLE} ${DORIX_PACK_PROFILE} --no-check ${folder} ${output}
                       DEPENDS ${inputs} ${DORIX_PACK_PROFILE}
                       COMMENT "Packing ${output}"
                       VERBATIM)
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
