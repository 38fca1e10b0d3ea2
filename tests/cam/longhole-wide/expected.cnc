
%  
O2531  
(Korvel, Version 2.05)  
(Created: Thu Jan 1 00:00:00 2026)  
G54 G90 G98 G21  
T1 M06 (END MILL R10)  
S3820 M03  
G43 H1 M08  
(LONGHOLE ID 2)  
G00 X15.  Y12.   
G00 Z0.   
G01 Z-3.  F229.   
G01 X15.  Y7.  F764.   
G01 X45.  Y7.  F764.   
G03 X45.  Y17.  I0.  J5.  F764.   
G01 X15.  Y17.  F764.   
G03 X15.  Y7.  I0.  J-5.  F764.   
G01 X15.  Y12.  F764.   
G01 Z-6.  F229.   
G01 X15.  Y7.  F764.   
G01 X45.  Y7.  F764.   
G03 X45.  Y17.  I0.  J5.  F764.   
G01 X15.  Y17.  F764.   
G03 X15.  Y7.  I0.  J-5.  F764.   
G01 X15.  Y12.  F764.   
G00 Z25.   
(LONGHOLE ID 3)  
G00 X70.  Y15.   
G00 Z0.   
G01 Z-4.  F229.   
G01 X75.  Y15.  F764.   
G01 X75.  Y45.  F764.   
G03 X65.  Y45.  I-5.  J0.  F764.   
G01 X65.  Y15.  F764.   
G03 X75.  Y15.  I5.  J0.  F764.   
G01 X70.  Y15.  F764.   
G00 Z25.   
G00 Z0.   
G01 Z-4.  F229.   
G01 X82.  Y15.  F764.   
G01 X82.  Y45.  F764.   
G03 X58.  Y45.  I-12.  J0.  F764.   
G01 X58.  Y15.  F764.   
G03 X82.  Y15.  I12.  J0.  F764.   
G01 X70.  Y15.  F764.   
G00 Z25.   
M09  
M30  
%  
