#!/usr/bin/env python3
# A UPnP gateway on 192.168.77.1:5000 that misbehaves as told: trickle (one byte every 2 s), silent,
# huge (300 MB), stranger (names LAN computer .9), loopback and gameport (control URLs), markup.
import socket, socketserver, sys, threading, time

WAY = sys.argv[1]
HOST = "192.168.77.9" if WAY == "stranger" else "192.168.77.1"
CONTROL = {"loopback": "http://127.0.0.1:7772/ctl", "gameport": "http://192.168.77.1:7772/ctl"}.get(WAY, "/ctl")
DESC = ("<?xml version=\"1.0\"?><root xmlns=\"urn:schemas-upnp-org:device-1-0\"><device><deviceType>"
        "urn:schemas-upnp-org:device:InternetGatewayDevice:1</deviceType><deviceList><device><serviceList><service>"
        "<serviceType>urn:schemas-upnp-org:service:WANCommonInterfaceConfig:1</serviceType><controlURL>/cif"
        "</controlURL></service></serviceList><deviceList>"
        "<device><serviceList><service><serviceType>urn:schemas-upnp-org:service:WANIPConnection:1"
        "</serviceType><controlURL>%s</controlURL></service></serviceList></device></deviceList></device>"
        "</deviceList></device></root>" % CONTROL).encode()
ADDRESS = "<![CDATA[<a href=x>y</a>]]>" if WAY == "markup" else "100.128.0.66"

class Http(socketserver.StreamRequestHandler):
    def handle(self):
        head = self.rfile.readline()
        length = 0
        while (line := self.rfile.readline().strip()):
            if line.lower().startswith(b"content-length:"):
                length = int(line.split(b":")[1])
        self.rfile.read(length)
        if WAY == "silent":
            time.sleep(600)
        body = DESC if head.startswith(b"GET") else (  # every action answered as the address request
            "<s:Envelope><s:Body><u:R><NewExternalIPAddress>%s</NewExternalIPAddress></u:R></s:Body></s:Envelope>"
            % ADDRESS).encode()
        padding = 300 if WAY == "huge" else 0  # megabytes of blanks after the description
        self.wfile.write(b"HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: %d\r\n\r\n"
                         % (len(body) + (padding << 20)))
        if WAY == "trickle":
            for i in range(len(body)):
                self.wfile.write(body[i:i + 1])
                self.wfile.flush()
                time.sleep(2)
        self.wfile.write(body)
        for _ in range(padding):
            self.wfile.write(b" " * (1 << 20))

http = socketserver.ThreadingTCPServer(("0.0.0.0", 5000), Http)
threading.Thread(target=http.serve_forever, daemon=True).start()
ssdp = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
ssdp.bind(("", 1900))
ssdp.setsockopt(socket.IPPROTO_IP, socket.IP_ADD_MEMBERSHIP,
                socket.inet_aton("239.255.255.250") + socket.inet_aton("192.168.77.1"))
print("ready", flush=True)
while True:
    data, sender = ssdp.recvfrom(2048)
    if data.startswith(b"M-SEARCH"):
        print("M-SEARCH from", sender[0], flush=True)
        ssdp.sendto(("HTTP/1.1 200 OK\r\nCACHE-CONTROL: max-age=120\r\nST: urn:schemas-upnp-org:device:"
                     "InternetGatewayDevice:1\r\nUSN: uuid:1::urn:schemas-upnp-org:device:InternetGatewayDevice:1"
                     "\r\nEXT:\r\nSERVER: Linux UPnP/1.1 gw/1\r\nLOCATION: http://%s:5000/desc.xml\r\n\r\n"
                     % HOST).encode(), sender)
