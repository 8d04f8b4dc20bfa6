# Regenerates the sample sheet, its session and the survey catalogue and
# fails when the committed files differ from what the generator writes now.
execute_process(COMMAND ${GENERATOR} ${WORK}/sample_sheet.json ${WORK}/demo_session.json
                        ${WORK}/survey.txt
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make_sample_sheet failed: ${status}")
endif()
foreach(name sample_sheet.json demo_session.json survey.txt)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name} ${SOURCE}/${name}
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "demo/${name} is not what make_sample_sheet writes: regenerate it")
    endif()
endforeach()
