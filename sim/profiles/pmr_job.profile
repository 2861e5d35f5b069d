# A Revision 9 mobile holding the demo PMR job (24 named channels), so that Read Radio gives a PMR
# job every form can show and Program Radio takes back as it is.
type = 4
name = radio with a PMR job
# A band of the band table (TK, 400-450 MHz), so that a read shows it on the Radio Type form.
band = TK
pmr_job_file = ../data/demo.pmr
