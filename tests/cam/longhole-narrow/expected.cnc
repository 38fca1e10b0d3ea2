
%  
O2530  
(Korvel, Version 2.05)  
(Created: Thu Jan 1 00:00:00 2026)  
G54 G90 G98 G21  
T1 M06 (END MILL R10)  
S3820 M03  
G43 H1 M08  
(LONGHOLE ID 2)  
G00 X15.  Y12.   
G00 Z0.   
G01 Z-4.  F229.   
G01 X55.  Y12.  F764.   
G00 Z25.   
G00 X15.  Y12.   
G00 Z-4.   
G01 Z-8.  F229.   
G01 X55.  Y12.  F764.   
G00 Z25.   
(LONGHOLE ID 3)  
G00 X20.  Y25.   
G00 Z0.   
G01 Z-2.5  F229.   
G01 X50.  Y40.  F764.   
G00 Z25.   
G00 X20.  Y25.   
G00 Z-2.5   
G01 Z-5.  F229.   
G01 X50.  Y40.  F764.   
G00 Z25.   
M09  
M30  
%  
