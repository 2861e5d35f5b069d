# A KP800 portable of the KP8B hardware: option A only.
type = 1
name = KP8B portable
hardware_byte26 = 0xFB
hardware_byte27 = 0xFF
startup_code.software_code = 11250
pmr_code.software_code = 11240
trunk_code.software_code = 11230
trunk_job = yes
