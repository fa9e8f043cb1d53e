# Installs the project into an empty prefix, then configures, builds and runs a small outside
# project that finds it with find_package(DigitalMatrixModule): a host that uses only the public
# target and includes every public header, and a tool that uses the private headers.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(PREFIX ${WORK_DIR}/prefix)

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "install failed: ${rc}")
endif()

# The public surface and nothing of the pages' insides; those sit under private/.
set(INCLUDE_DIR ${PREFIX}/include/DigitalMatrix)
foreach(header DigitalMatrixConfigPage.h MatrixModuleConfig.h DigitalMatrixInteractionPort.h
        DigitalMatrix.h LinuxDigitalMatrixPage.h IMatrixConfig.h IBaseMatrixConfig.h
        MatrixServiceTypes.h UserManagerCore.h digitalmatrix_export.h)
    if(NOT EXISTS ${INCLUDE_DIR}/${header})
        message(FATAL_ERROR "public header ${header} is not installed")
    endif()
endforeach()
foreach(header MirrorWidget.h CellForConfigChannels.h ServerConfigTreeItem.h FixedText.h)
    if(EXISTS ${INCLUDE_DIR}/${header})
        message(FATAL_ERROR "${header} is installed with the public headers")
    endif()
    if(NOT EXISTS ${INCLUDE_DIR}/private/${header})
        message(FATAL_ERROR "${header} is not installed under private/")
    endif()
endforeach()

# One translation unit that includes every public header: it must compile with the public
# target's include folder alone.
file(GLOB public_headers RELATIVE ${INCLUDE_DIR} ${INCLUDE_DIR}/*.h)
set(all_headers "// Every public header of the installed module.\n")
foreach(header ${public_headers})
    string(APPEND all_headers "#include <${header}>\n")
endforeach()
file(WRITE ${WORK_DIR}/all_public_headers.cpp "${all_headers}")

execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/install/consumer -B ${WORK_DIR}/build
    -DCMAKE_PREFIX_PATH=${PREFIX} -DDM_ALL_PUBLIC_HEADERS=${WORK_DIR}/all_public_headers.cpp
    RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "configuring the outside project failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "building the outside project failed: ${rc}")
endif()
foreach(program consumer private_consumer)
    execute_process(COMMAND ${WORK_DIR}/build/${program} RESULT_VARIABLE rc
        OUTPUT_VARIABLE out ERROR_VARIABLE err)
    message(STATUS "${program}: ${out}${err}")
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${program} failed: ${rc}")
    endif()
endforeach()
execute_process(COMMAND ${WORK_DIR}/build/consumer OUTPUT_VARIABLE out)
if(NOT out MATCHES "port ready")
    message(FATAL_ERROR "the outside project did not reach the port")
endif()
